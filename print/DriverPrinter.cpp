#include "print/DriverPrinter.h"

#include <mutex>

#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

#include "print/PrintFailure.h"
#include "print/PrintSettings.h"
#include "print/SlipFileReader.h"

namespace zelvo {
namespace {

constexpr int kFontWeight = 500;

std::mutex g_openerMutex;
PrinterOpener g_opener;

std::unique_ptr<QPrinter> OpenPrinter(const QString& name) {
    PrinterOpener opener;
    {
        std::lock_guard lock(g_openerMutex);
        opener = g_opener;
    }
    return opener ? opener(name) : OpenNamedPrinter(name);
}

QFont PrinterFont(int fontSize) {
    QFont font(QStringLiteral("宋体"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(fontSize);
    font.setWeight(QFont::Weight(kFontWeight));
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    return font;
}

int MeasuredLineHeight(const QFontMetrics& metrics) {
    return metrics.size(Qt::TextSingleLine, QStringLiteral("测试字体大小")).height() + 1;
}

}  // namespace

std::unique_ptr<QPrinter> OpenNamedPrinter(const QString& name) {
    if (name.isEmpty() || !QPrinterInfo::availablePrinterNames().contains(name)) return nullptr;
    const QPrinterInfo info = QPrinterInfo::printerInfo(name);
    if (info.isNull()) return nullptr;
    return std::make_unique<QPrinter>(info, QPrinter::HighResolution);
}

void SetPrinterOpener(PrinterOpener opener) {
    std::lock_guard lock(g_openerMutex);
    g_opener = std::move(opener);
}

void PrintThroughDriver(PrintSettings& settings) {
    std::unique_ptr<QPrinter> printer = OpenPrinter(QString::fromStdU16String(settings.PrintName));
    if (!printer) {
        ReportPrintFailure(kSelectPrinterFailed);
        return;
    }
    printer->setDocName(QStringLiteral("SCprint.txt"));
    if (settings.FontSize < 1) settings.FontSize = kDefaultFontSize;
    const QFont font = PrinterFont(settings.FontSize);

    // Fonts need the application's font database; without one no document can be started.
    QPainter painter;
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr ||
        !painter.begin(printer.get())) {
        ReportPrintFailure(kPrintDocumentFailed);
        return;
    }
    painter.setFont(font);
    const QFontMetrics metrics = painter.fontMetrics();
    if (settings.LineHeight < 1) {
        settings.LineHeight = MeasuredLineHeight(metrics);
        RememberLineHeight(settings.LineHeight);
    }
    const auto lines = ReadSlipLines(settings.slipFile);
    if (!lines) {
        printer->abort();
        painter.end();
        return;
    }
    // One page whatever the length: a receipt roll has no page breaks.
    for (size_t i = 0; i < lines->size(); ++i) {
        const int top = static_cast<int>(i) * settings.LineHeight;
        painter.drawText(0, top + metrics.ascent(), QString::fromStdU16String((*lines)[i]));
    }
    painter.end();
}

}  // namespace zelvo
