#include "gui/qt_print_device.h"

#include <QFile>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <cmath>
#include <cstdlib>
#include <string>

#include "data/codepage.h"
#include "data/file_access.h"
#include "gui/qt_text.h"

namespace quort {

namespace {

// "Courier New" where it is installed, else a monospace font with the same metrics.
QFont printerFont(int size, bool bold, bool underline) {
  QFont font;
  font.setFamilies({QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"), QStringLiteral("Cousine"),
                    QStringLiteral("DejaVu Sans Mono")});
  font.setStyleHint(QFont::Monospace);
  font.setFixedPitch(true);
  font.setPointSize(size);
  font.setBold(bold);
  font.setUnderline(underline);
  return font;
}

class QtPrintDevice : public PrintDevice {
 public:
  bool begin(const PrintTarget& target) override {
    m_target = target;
    m_printer.setPageSize(QPageSize(QPageSize::A4));
    m_printer.setPageOrientation(target.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    m_printer.setPageMargins(QMarginsF(12.7, 12.7, 12.7, 12.7), QPageLayout::Millimeter);
    if (!target.fileName.empty()) {
      // The PDF is written beside the target and renamed over it when complete.
      m_partName = QString::fromStdString(nativePath(target.fileName + ".part").string());
      m_printer.setOutputFormat(QPrinter::PdfFormat);
      m_printer.setOutputFileName(m_partName);
      m_printer.setDocName(toQString(target.fileName));
    } else {
      if (QPrinterInfo::printerInfo(toQString(target.printerName)).isNull()) return false;
      m_printer.setPrinterName(toQString(target.printerName));
      if (!m_printer.isValid()) return false;
    }
    return true;
  }

  PageMeasure selectFont(int size, bool bold) override {
    m_size = size;
    m_bold = bold;
    const QFontMetricsF metrics(printerFont(size, bold, false), &m_printer);
    m_charWidth = metrics.horizontalAdvance(QLatin1Char('M'));
    m_lineHeight = metrics.lineSpacing();
    m_ascent = metrics.ascent();
    const QRectF page = m_printer.pageRect(QPrinter::DevicePixel);
    if (m_charWidth <= 0 || m_lineHeight <= 0) return {};
    return {static_cast<int>(std::floor(page.width() / m_charWidth)),
            static_cast<int>(std::floor(page.height() / m_lineHeight))};
  }

  void print(const std::string& text, PrintStyle style) override {
    if (!started()) return;
    const bool bold = style != PrintStyle::Regular;
    m_painter.setFont(printerFont(m_size, bold, style == PrintStyle::BoldUnderlined));
    // A run starts in its own column, so the columns line up whatever font stood in.
    const QString unicode = toQString(text);
    m_painter.drawText(QPointF(m_column * m_charWidth, m_ascent + m_line * m_lineHeight), unicode);
    m_column += static_cast<int>(unicode.size());
  }

  void endLine() override {
    started();
    ++m_line;
    m_column = 0;
  }

  void newPage() override {
    if (started()) m_printer.newPage();
    m_line = 0;
    m_column = 0;
  }

  bool end() override {
    if (!started()) return false;
    if (!m_painter.end()) return false;
    if (m_target.fileName.empty()) return true;
    QFile part(m_partName);
    if (!part.open(QIODevice::ReadOnly)) return false;
    const QByteArray pdf = part.readAll();
    part.close();
    part.remove();
    return writeFileAtomically(m_target.fileName, std::string_view(pdf.constData(), static_cast<size_t>(pdf.size())));
  }

 private:
  // The painter starts with the first line, so a job that prints nothing leaves no file.
  bool started() {
    if (m_painter.isActive()) return true;
    if (m_failed) return false;
    m_failed = !m_painter.begin(&m_printer);
    return !m_failed;
  }

  PrintTarget m_target;
  QPrinter m_printer{QPrinter::HighResolution};
  QPainter m_painter;
  QString m_partName;
  int m_size = 10;
  bool m_bold = false;
  bool m_failed = false;
  double m_charWidth = 0;
  double m_lineHeight = 0;
  double m_ascent = 0;
  int m_line = 0;
  int m_column = 0;
};

class QtPrintProvider : public PrintDeviceProvider {
 public:
  std::vector<std::string> printerNames() override {
    ensureApplication();
    std::vector<std::string> names;
    for (const QString& name : QPrinterInfo::availablePrinterNames()) names.push_back(fromQString(name));
    names.emplace_back(kPdfPrinterName);
    return names;
  }

  std::string defaultPrinter() override {
    ensureApplication();
    return fromQString(QPrinterInfo::defaultPrinterName());
  }

  std::unique_ptr<PrintDevice> device(const PrintTarget&) override {
    ensureApplication();
    return std::make_unique<QtPrintDevice>();
  }

 private:
  void ensureApplication() {
    if (QCoreApplication::instance() != nullptr) return;
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform == nullptr || *platform == '\0') setenv("QT_QPA_PLATFORM", "offscreen", 1);
    m_application = std::make_unique<QGuiApplication>(m_argc, m_argv);
  }

  int m_argc = 1;
  char m_name[8] = "planner";
  char* m_argv[2] = {m_name, nullptr};
  std::unique_ptr<QGuiApplication> m_application;
};

}  // namespace

std::shared_ptr<PrintDeviceProvider> makeQtPrintProvider() { return std::make_shared<QtPrintProvider>(); }

}  // namespace quort
