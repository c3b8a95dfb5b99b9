#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quort {

// The comma-separated export files of the Untis program (GPU001.TXT ... GPU006.TXT) and
// our own GPTAVIN.TXT, read line by line.
//
// Schools send these files in the Windows code page, in the DOS code page or in UTF-8,
// with CR LF or LF lines; every text is turned into Windows-1252 on reading. A line
// gives exactly the number of fields asked for: missing trailing fields are empty and
// further ones are ignored, so one odd line never shifts the records after it.

using UntisRecord = std::vector<std::string>;

enum class UntisReadStatus {
  Ok,
  Missing,         // no such file (in any letter case)
  Unreadable,      // a directory, a read error, a file too large
  WrongSeparator,  // the fields are separated by ";" instead of ","
};

struct UntisFile {
  UntisReadStatus status = UntisReadStatus::Missing;
  std::string path;  // the file that was read, or the name that was looked for
  std::vector<UntisRecord> records;

  bool ok() const { return status == UntisReadStatus::Ok; }
};

// Reads directory/name. Blank lines give no record.
UntisFile readUntisFile(std::string_view directory, std::string_view name, size_t fieldCount);

// The fields of one line. Commas inside quoted fields and double quotes inside unquoted
// ones become ";" and "'", control characters are dropped: our own files could not
// carry them.
UntisRecord splitUntisLine(std::string_view line, size_t fieldCount);

// The text of a file in Windows-1252, whatever code page it came in. A UTF-8 byte-order
// mark is dropped.
std::string untisTextToWindows(std::string_view bytes);

// The lines of a text ended by CR LF, LF or CR, without their line ends.
std::vector<std::string_view> splitTextLines(std::string_view text);

// A German explanation of a failed read, for the message line.
std::string describeReadFailure(const UntisFile& file);

// directory joined with name ("/" in between unless directory ends with one).
std::string joinPath(std::string_view directory, std::string_view name);

}  // namespace quort
