#include "substitution/web_plan.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "data/calendar.h"
#include "data/codepage.h"

namespace quort {

namespace {

std::string strippedBlanks(const std::string& text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string htmlText(const std::string& cp1252) {
  std::string out;
  for (const char c : cp1252ToUtf8(cp1252)) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&#39;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string jsonText(const std::string& cp1252) {
  std::string out = "\"";
  for (const char c : cp1252ToUtf8(cp1252)) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned char>(c));
      out += escape;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

std::string icsText(const std::string& cp1252) {
  std::string out;
  for (const char c : cp1252ToUtf8(cp1252)) {
    if (c == '\\' || c == ';' || c == ',') out += '\\';
    if (c == '\r' || c == '\n') continue;
    out += c;
  }
  return out;
}

// Content lines longer than 75 octets continue on lines that begin with a blank; a
// character's UTF-8 bytes are never parted.
std::string icsLine(const std::string& line) {
  std::string out;
  size_t used = 0;
  for (size_t i = 0; i < line.size();) {
    size_t length = 1;
    while (i + length < line.size() && (static_cast<unsigned char>(line[i + length]) & 0xC0) == 0x80) ++length;
    if (used + length > 75) {
      out += "\r\n ";
      used = 1;
    }
    out.append(line, i, length);
    used += length;
    i += length;
  }
  return out + "\r\n";
}

std::string icsDate(const std::string& date) { return date.substr(6, 4) + date.substr(3, 2) + date.substr(0, 2); }

std::string changeSummary(const WebChange& change) {
  std::string text = change.schoolClass + " " + std::to_string(change.period) + ". Std.: ";
  if (change.substitute.empty()) return text + change.remark;
  text += "Vertretung " + change.substitute;
  if (!change.subject.empty()) text += " (" + change.subject + ")";
  return text;
}

const char* const kStyle =
    "*{box-sizing:border-box}"
    "body{margin:0;font-family:system-ui,'DejaVu Sans',Arial,sans-serif;font-size:1.2rem;line-height:1.4;"
    "color:#111;background:#f4f4f0}"
    "header{background:#1d3557;color:#fff;padding:.8rem 1rem}"
    "header h1{margin:0;font-size:1.8rem}header p{margin:.2rem 0 0}"
    "main{padding:.5rem 1rem;display:grid;gap:1rem;grid-template-columns:repeat(auto-fit,minmax(min(100%,40rem),1fr))}"
    "section.day{background:#fff;border:1px solid #ccc;border-radius:.5rem;padding:.5rem 1rem}"
    "h2{margin:.3rem 0;font-size:1.5rem;color:#1d3557}h3{margin:.8rem 0 .3rem;font-size:1.2rem}"
    "table{border-collapse:collapse;width:100%}"
    "th,td{text-align:left;padding:.35rem .4rem;border-bottom:1px solid #ddd;vertical-align:top}"
    "th{background:#e9eef5}tr.frei td{color:#9b2226}"
    "ul{margin:.2rem 0;padding-left:1.2rem}"
    "@media (max-width:640px){body{font-size:1.25rem}thead{display:none}"
    "table,tbody,tr,td{display:block;width:100%}tr{border-bottom:2px solid #bbb;padding:.3rem 0}"
    "td{border:0;padding:.1rem 0}td::before{content:attr(data-label) ': ';font-weight:bold}}"
    "@media print{body{background:#fff;font-size:12pt}header{background:none;color:#000;border-bottom:2px solid #000}"
    "section.day{border:0;break-inside:avoid}}"
    "@media (min-width:1800px){body{font-size:1.6rem}main{grid-template-columns:1fr 1fr}}";

void appendCells(std::string& html, const std::vector<std::pair<const char*, std::string>>& cells) {
  for (const auto& [label, text] : cells)
    html += std::string("<td data-label=\"") + label + "\">" + htmlText(text) + "</td>";
}

void appendClassTable(std::string& html, const WebDay& day) {
  html +=
      "<h3>Klassen</h3><table class=\"classes\"><thead><tr><th>Klasse</th><th>Std.</th><th>Lehrer</th>"
      "<th>Vertretung</th><th>Fach</th><th>Raum</th><th>Bemerkung</th></tr></thead><tbody>";
  for (const WebChange& c : day.changes) {
    html += c.substitute.empty() ? "<tr class=\"frei\">" : "<tr>";
    appendCells(html, {{"Klasse", c.schoolClass},
                       {"Std.", std::to_string(c.period)},
                       {"Lehrer", c.teacher},
                       {"Vertretung", c.substitute.empty() ? std::string("frei") : c.substitute},
                       {"Fach", c.subject},
                       {"Raum", c.room},
                       {"Bemerkung", c.remark}});
    html += "</tr>";
  }
  html += "</tbody></table>";
}

void appendTeacherTable(std::string& html, const WebDay& day) {
  std::vector<WebChange> covered;
  for (const WebChange& c : day.changes)
    if (!c.substitute.empty()) covered.push_back(c);
  std::stable_sort(covered.begin(), covered.end(), [](const WebChange& a, const WebChange& b) {
    return a.substitute != b.substitute ? a.substitute < b.substitute : a.period < b.period;
  });
  html +=
      "<h3>Lehrer</h3><table class=\"teachers\"><thead><tr><th>Lehrer</th><th>Std.</th><th>Klasse</th>"
      "<th>Fach</th><th>Raum</th><th>Bemerkung</th></tr></thead><tbody>";
  for (const WebChange& c : covered) {
    html += "<tr>";
    appendCells(html, {{"Lehrer", c.substitute},
                       {"Std.", std::to_string(c.period)},
                       {"Klasse", c.schoolClass},
                       {"Fach", c.subject},
                       {"Raum", c.room},
                       {"Bemerkung", c.remark}});
    html += "</tr>";
  }
  html += "</tbody></table>";
}

void appendList(std::string& html, const char* title, const char* cssClass, const std::vector<std::string>& items) {
  if (items.empty()) return;
  html += std::string("<h3>") + title + "</h3><ul class=\"" + cssClass + "\">";
  for (const std::string& item : items) html += "<li>" + htmlText(item) + "</li>";
  html += "</ul>";
}

}  // namespace

WebChange parseChange(const std::string& date, const std::string& entry) {
  WebChange change;
  change.date = date;
  change.schoolClass = strippedBlanks(entry.substr(0, 3));
  change.period = std::atoi(entry.substr(4, 2).c_str());
  const size_t colon = entry.find(':', 11);
  const std::string coupling = entry.substr(11, colon - 11);
  if (coupling.size() >= 2) change.teacher = strippedBlanks(coupling.substr(coupling.size() - 2));
  std::string text = colon == std::string::npos ? std::string() : strippedBlanks(entry.substr(colon + 1));
  if (text.size() >= 3 && text[2] == '-') {
    change.substitute = strippedBlanks(text.substr(0, 2));
    const size_t blank = text.find(' ');
    change.subject = text.substr(3, blank == std::string::npos ? std::string::npos : blank - 3);
    text = blank == std::string::npos ? std::string() : strippedBlanks(text.substr(blank));
    if (text.starts_with("in ")) {
      const size_t end = text.find(' ', 3);
      change.room = text.substr(3, end == std::string::npos ? std::string::npos : end - 3);
      text = end == std::string::npos ? std::string() : strippedBlanks(text.substr(end));
    }
  }
  change.remark = text;
  return change;
}

WebPlan buildWebPlan(const std::vector<CoveredDay>& days, const std::string& generated) {
  WebPlan plan;
  plan.generated = generated;
  for (const CoveredDay& day : days) {
    WebDay web{day.date, weekdayName(day.date), {}, day.absences, day.notes};
    for (const std::string& entry : day.entries) web.changes.push_back(parseChange(day.date, entry));
    std::stable_sort(web.changes.begin(), web.changes.end(), [](const WebChange& a, const WebChange& b) {
      // Classes in the day file's order: " 5A" before "11A".
      const auto padded = [](const std::string& code) {
        return std::string(code.size() < 3 ? 3 - code.size() : 0, ' ') + code;
      };
      return a.schoolClass != b.schoolClass ? padded(a.schoolClass) < padded(b.schoolClass) : a.period < b.period;
    });
    plan.days.push_back(std::move(web));
  }
  return plan;
}

std::string webPlanHtml(const WebPlan& plan) {
  std::string html =
      "<!DOCTYPE html>\n<html lang=\"de\">\n<head>\n<meta charset=\"utf-8\">\n"
      "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
      "<title>Vertretungsplan</title>\n<style>";
  html += kStyle;
  html += "</style>\n</head>\n<body>\n<header><h1>Vertretungsplan</h1><p>Stand: " + htmlText(plan.generated) +
          "</p></header>\n<main>\n";
  if (plan.days.empty()) html += "<section class=\"day\"><p>Keine Vertretungen.</p></section>\n";
  for (const WebDay& day : plan.days) {
    html += "<section class=\"day\" id=\"d" + icsDate(day.date) + "\"><h2>" + htmlText(day.weekday + ", " + day.date) +
            "</h2>";
    appendClassTable(html, day);
    appendTeacherTable(html, day);
    appendList(html, "Abwesend", "absences", day.absences);
    appendList(html, "Hinweise", "notes", day.notes);
    html += "</section>\n";
  }
  return html + "</main>\n</body>\n</html>\n";
}

std::string webPlanJson(const WebPlan& plan) {
  std::string json = "{\n  \"generated\": " + jsonText(plan.generated) + ",\n  \"days\": [";
  for (size_t d = 0; d < plan.days.size(); ++d) {
    const WebDay& day = plan.days[d];
    json += std::string(d ? "," : "") + "\n    {\n      \"date\": " + jsonText(day.date) +
            ",\n      \"weekday\": " + jsonText(day.weekday) + ",\n      \"changes\": [";
    for (size_t i = 0; i < day.changes.size(); ++i) {
      const WebChange& c = day.changes[i];
      json += std::string(i ? "," : "") + "\n        {\"date\": " + jsonText(c.date) +
              ", \"class\": " + jsonText(c.schoolClass) + ", \"period\": " + std::to_string(c.period) +
              ", \"teacher\": " + jsonText(c.teacher) + ", \"substitute\": " + jsonText(c.substitute) +
              ", \"subject\": " + jsonText(c.subject) + ", \"room\": " + jsonText(c.room) +
              ", \"remark\": " + jsonText(c.remark) + "}";
    }
    json += "\n      ],\n      \"absences\": [";
    for (size_t i = 0; i < day.absences.size(); ++i) json += (i ? ", " : "") + jsonText(day.absences[i]);
    json += "],\n      \"notes\": [";
    for (size_t i = 0; i < day.notes.size(); ++i) json += (i ? ", " : "") + jsonText(day.notes[i]);
    json += "]\n    }";
  }
  return json + "\n  ]\n}\n";
}

std::string webPlanIcs(const WebPlan& plan) {
  std::string stamp = "19700101T000000Z";
  if (plan.generated.size() >= 16)
    stamp = icsDate(plan.generated) + "T" + plan.generated.substr(11, 2) + plan.generated.substr(14, 2) + "00Z";
  std::string ics = icsLine("BEGIN:VCALENDAR") + icsLine("VERSION:2.0") +
                    icsLine("PRODID:-//QUORT-Plan//Vertretungsplan//DE") + icsLine("CALSCALE:GREGORIAN");
  for (const WebDay& day : plan.days) {
    std::string next = day.date;
    ShiftDate(next, 1);
    for (size_t i = 0; i < day.changes.size(); ++i) {
      const WebChange& c = day.changes[i];
      ics += icsLine("BEGIN:VEVENT");
      ics += icsLine("UID:" + icsDate(day.date) + "-" + icsText(c.schoolClass) + "-" + std::to_string(c.period) + "-" +
                     std::to_string(i + 1) + "@quort-plan");
      ics += icsLine("DTSTAMP:" + stamp);
      ics += icsLine("DTSTART;VALUE=DATE:" + icsDate(day.date));
      ics += icsLine("DTEND;VALUE=DATE:" + icsDate(next));
      ics += icsLine("SUMMARY:" + icsText(changeSummary(c)));
      if (!c.room.empty()) ics += icsLine("LOCATION:" + icsText(c.room));
      if (!c.remark.empty()) ics += icsLine("DESCRIPTION:" + icsText(c.remark));
      ics += icsLine("END:VEVENT");
    }
  }
  return ics + icsLine("END:VCALENDAR");
}

}  // namespace quort
