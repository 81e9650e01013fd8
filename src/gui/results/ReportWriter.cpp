#include "gui/results/ReportWriter.h"

#include <QFontMetrics>
#include <QPagedPaintDevice>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace probex {

namespace {

const QString ReportTitle = QStringLiteral("Probex Report");
constexpr double MarginMm = 20;
constexpr double FooterGapMm = 5;
constexpr double FooterLineMm = 0.25;

/// Arial and Times New Roman, or the fonts the system puts in their place.
QFont ReportFont(const char* family, int points, bool bold) {
    QFont font(QString::fromLatin1(family), points, bold ? QFont::Bold : QFont::Normal);
    font.setStyleHint(QString::fromLatin1(family).startsWith(QLatin1String("Times"))
                          ? QFont::Serif
                          : QFont::SansSerif);
    return font;
}

} // namespace

TReportWriter::TReportWriter(QPagedPaintDevice& device)
    : m_device(device), m_titleFont(ReportFont("Arial", 24, true)),
      m_footerFont(ReportFont("Arial", 12, false)),
      m_bodyFont(ReportFont("Times New Roman", 12, false)),
      m_sectionFont(ReportFont("Times New Roman", 14, true)),
      m_headingFont(ReportFont("Arial", 16, true)) {
    m_device.setPageMargins(QMarginsF(MarginMm, MarginMm, MarginMm, MarginMm),
                            QPageLayout::Millimeter);
    if (!m_painter.begin(&m_device)) return;
    // A PDF would otherwise keep pictures as JPEG, whose colours shift around fine detail.
    m_painter.setRenderHint(QPainter::LosslessImageRendering);
    m_area = QRect(0, 0, m_device.width(), m_device.height());
    startPage();
}

TReportWriter::~TReportWriter() {
    finish();
}

int TReportWriter::lineHeight(const QFont& font) const {
    return QFontMetrics(font, &m_device).height();
}

void TReportWriter::startPage() {
    ++m_pageNumber;
    m_pageEmpty = true;
    const int titleHeight = 2 * lineHeight(m_titleFont);
    m_painter.setPen(Qt::black);
    m_painter.setFont(m_titleFont);
    m_painter.drawText(QRect(m_area.left(), m_area.top(), m_area.width(), titleHeight),
                       Qt::AlignCenter, ReportTitle);
    m_bodyTop = m_area.top() + titleHeight;
    const int footerHeight =
        lineHeight(m_footerFont) +
        static_cast<int>(std::lround(FooterGapMm / 25.4 * m_device.logicalDpiY()));
    m_bodyBottom = m_area.bottom() - footerHeight;
    m_y = m_bodyTop;
}

void TReportWriter::endPage() {
    const int top = m_bodyBottom + 1;
    // A pen of one device unit is a hair line at a PDF's resolution: give it a width of its own.
    QPen rule(Qt::black);
    rule.setWidthF(std::max(1.0, FooterLineMm / 25.4 * m_device.logicalDpiY()));
    m_painter.setPen(rule);
    m_painter.drawLine(m_area.left(), top, m_area.right(), top);
    m_painter.setFont(m_footerFont);
    const QRect footer(m_area.left(), top, m_area.width(), m_area.bottom() - top);
    m_painter.drawText(footer, Qt::AlignLeft | Qt::AlignBottom, ReportTitle);
    m_painter.drawText(footer, Qt::AlignRight | Qt::AlignBottom,
                       QStringLiteral("Page %1").arg(m_pageNumber));
}

void TReportWriter::newPage() {
    // The break waits for something to put on the next page, so a report never ends with a
    // page that holds nothing.
    if (isActive() && !m_pageEmpty) m_breakPending = true;
}

void TReportWriter::breakPage() {
    m_breakPending = false;
    endPage();
    m_device.newPage();
    startPage();
}

void TReportWriter::reserve(int height) {
    if (m_breakPending || (m_y + height > m_bodyBottom && !m_pageEmpty)) breakPage();
    m_pageEmpty = false;
}

QStringList TReportWriter::wrapped(const QString& text, const QFont& font) const {
    if (text.isEmpty()) return {text};
    QTextLayout layout(text, font, &m_device);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    QStringList lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(m_area.width());
        lines << text.mid(line.textStart(), line.textLength());
    }
    layout.endLayout();
    return lines;
}

void TReportWriter::heading(const QString& text) {
    if (!isActive()) return;
    const int h = lineHeight(m_headingFont) * 3 / 2;
    reserve(h);
    m_painter.setFont(m_headingFont);
    m_painter.drawText(QRect(m_area.left(), m_y, m_area.width(), h), Qt::AlignCenter, text);
    m_y += h;
}

void TReportWriter::section(const QString& text) {
    if (!isActive()) return;
    const int h = lineHeight(m_sectionFont) * 3 / 2;
    reserve(h);
    m_painter.setFont(m_sectionFont);
    m_painter.drawText(QRect(m_area.left(), m_y, m_area.width(), h),
                       Qt::AlignLeft | Qt::AlignVCenter, text);
    m_y += h;
}

void TReportWriter::line(const QString& text) {
    if (!isActive()) return;
    const int h = lineHeight(m_bodyFont);
    for (const QString& part : wrapped(text, m_bodyFont)) {
        reserve(h);
        m_painter.setFont(m_bodyFont);
        m_painter.drawText(QRect(m_area.left(), m_y, m_area.width(), h),
                           Qt::AlignLeft | Qt::AlignVCenter, part);
        m_y += h;
    }
}

void TReportWriter::columns(const QStringList& cells) {
    if (!isActive() || cells.isEmpty()) return;
    const int h = lineHeight(m_bodyFont);
    const int rows = static_cast<int>((cells.size() + 2) / 3);
    reserve(rows * h);
    m_painter.setFont(m_bodyFont);
    const int third = m_area.width() / 3;
    for (int i = 0; i < cells.size(); ++i) {
        const QRect cell(m_area.left() + (i % 3) * third, m_y + (i / 3) * h, third, h);
        m_painter.drawText(cell, Qt::AlignLeft | Qt::AlignVCenter, cells[i]);
    }
    m_y += rows * h;
}

void TReportWriter::table(const QString& left, const QString& right,
                          const QList<std::pair<QString, QString>>& rows) {
    if (!isActive()) return;
    const int h = lineHeight(m_bodyFont);
    reserve(static_cast<int>(rows.size() + 1) * h);
    const int third = m_area.width() / 3;
    const auto drawRow = [&](const QString& a, const QString& b) {
        m_painter.drawText(QRect(m_area.left(), m_y, third, h), Qt::AlignLeft | Qt::AlignVCenter,
                           a);
        m_painter.drawText(QRect(m_area.left() + third, m_y, third, h),
                           Qt::AlignLeft | Qt::AlignVCenter, b);
        m_y += h;
    };
    QFont bold = m_bodyFont;
    bold.setBold(true);
    m_painter.setFont(bold);
    drawRow(left, right);
    m_painter.setFont(m_bodyFont);
    for (const auto& [a, b] : rows)
        drawRow(a, b);
}

void TReportWriter::grid(const QStringList& titles, const QList<QStringList>& rows) {
    if (!isActive() || titles.isEmpty()) return;
    const int h = lineHeight(m_bodyFont);
    reserve(static_cast<int>(rows.size() + 1) * h);
    const int width = m_area.width() / static_cast<int>(titles.size());
    const auto drawRow = [&](const QStringList& cells) {
        for (int c = 0; c < titles.size(); ++c)
            m_painter.drawText(QRect(m_area.left() + c * width, m_y, width, h),
                               Qt::AlignLeft | Qt::AlignVCenter, cells.value(c));
        m_y += h;
    };
    QFont bold = m_bodyFont;
    bold.setBold(true);
    m_painter.setFont(bold);
    drawRow(titles);
    m_painter.setFont(m_bodyFont);
    for (const QStringList& row : rows)
        drawRow(row);
}

void TReportWriter::graph(const QString& caption, double aspect,
                          const std::function<void(QPainter&, const QRect&)>& draw) {
    if (!isActive()) return;
    const int captionHeight = lineHeight(m_bodyFont) * 3 / 2;
    const int room = m_bodyBottom - m_bodyTop - captionHeight;
    int width = m_area.width();
    int height = static_cast<int>(std::lround(width * std::clamp(aspect, 0.05, 4.0)));
    if (height > room) { // taller than an empty page: shrink, keeping the shape
        width = width * room / height;
        height = room;
    }
    reserve(captionHeight + height);
    m_painter.setFont(m_bodyFont);
    m_painter.drawText(QRect(m_area.left(), m_y, m_area.width(), captionHeight), Qt::AlignCenter,
                       caption);
    m_y += captionHeight;
    const QRect target(m_area.left() + (m_area.width() - width) / 2, m_y, width, height);
    m_painter.save();
    draw(m_painter, target);
    m_painter.restore();
    m_y += height;
}

void TReportWriter::finish() {
    if (m_finished || !isActive()) return;
    m_finished = true;
    endPage();
    m_painter.end();
}

} // namespace probex
