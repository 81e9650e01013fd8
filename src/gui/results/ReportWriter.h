#pragma once

#include <QFont>
#include <QPainter>
#include <QString>
#include <QStringList>

#include <functional>
#include <utility>

class QPagedPaintDevice;

namespace probex {

/// The page-oriented report engine: every page gets the title area at the top and the footer
/// with its page number at the bottom, and each block given to it is drawn whole in the space
/// between, on the next page when it does not fit on the rest of this one.
class TReportWriter {
public:
    /// Draws into `device` (a printer or a PDF writer) within its page margins.
    explicit TReportWriter(QPagedPaintDevice& device);
    ~TReportWriter();
    TReportWriter(const TReportWriter&) = delete;
    TReportWriter& operator=(const TReportWriter&) = delete;

    bool isActive() const { return m_painter.isActive(); }

    /// A variable's or window's heading: large, bold, centred.
    void heading(const QString& text);
    /// A section's heading ("Equations").
    void section(const QString& text);
    /// One line of body text from the left margin, wrapped at the right one (at a blank where
    /// there is one); an empty text is an empty line.
    void line(const QString& text);
    /// Values three to a line, each in a third of the page width; the block moves whole.
    void columns(const QStringList& cells);
    /// A two-column table under its two headings; the block moves whole.
    void table(const QString& left, const QString& right,
               const QList<std::pair<QString, QString>>& rows);
    /// A table of any number of columns sharing the page width, titles in bold; the block
    /// moves whole.
    void grid(const QStringList& titles, const QList<QStringList>& rows);
    /// A picture under its centred caption, stretched to the page width at `aspect`
    /// (height / width) and shrunk to fit an empty page.
    void graph(const QString& caption, double aspect,
               const std::function<void(QPainter&, const QRect&)>& draw);
    /// Ends the page unless nothing has been drawn on it yet; the next page begins with the
    /// next block, so none is left empty at the end.
    void newPage();
    /// Draws the last page's footer and ends the print job.
    void finish();

    int pageNumber() const { return m_pageNumber; }

private:
    void startPage();
    void endPage();
    void breakPage();
    /// The text in lines that fit the page width.
    QStringList wrapped(const QString& text, const QFont& font) const;
    /// Makes room for a block of `height` pixels, starting a new page when it does not fit.
    void reserve(int height);
    int lineHeight(const QFont& font) const;

    QPagedPaintDevice& m_device;
    QPainter m_painter;
    QFont m_titleFont;
    QFont m_footerFont;
    QFont m_bodyFont;
    QFont m_sectionFont;
    QFont m_headingFont;
    QRect m_area;         ///< the printable area inside the margins
    int m_bodyTop = 0;    ///< below the title area
    int m_bodyBottom = 0; ///< above the footer
    int m_y = 0;          ///< where the next block begins
    int m_pageNumber = 0;
    bool m_pageEmpty = true;
    bool m_breakPending = false; ///< newPage was asked for; the next block starts the page
    bool m_finished = false;
};

} // namespace probex
