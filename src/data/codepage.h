#pragma once

#include <string>
#include <string_view>

namespace quort {

// Texts inside the program are Windows-1252 bytes. DOS-era text files and printers use
// the DOS code page; these convert between the two for the few characters that matter.

// DOS bytes to Windows bytes, for display. Drops 0xFF, maps umlauts, turns box drawing into "!"/"-".
std::string ToWindowsText(std::string_view dos);

// Windows bytes to DOS bytes: every CR becomes 0xFF CR, umlauts map to their DOS bytes.
std::string ToDosText(std::string_view windows);

// Removes a leading printer-control sequence (ESC ... ESC, second ESC at position >= 10)
// and every 0xFF byte. position receives the 1-based index of the second ESC, or 0.
std::string StripPrinterPrefix(std::string_view text, int& position);

// Replaces every occurrence of oldText once, left to right.
std::string replaceEachOnce(std::string_view text, std::string_view oldText, std::string_view newText);

// Replaces oldText by newText again and again until oldText no longer occurs.
std::string ReplaceAll(std::string_view text, std::string_view oldText, std::string_view newText);

// Windows-1252 <-> UTF-8, used only at the edges (Qt, console, batch output).
std::string cp1252ToUtf8(std::string_view cp1252);
// Characters without a Windows-1252 byte become "?".
std::string utf8ToCp1252(std::string_view utf8);

}  // namespace quort
