#pragma once

#include "reports/reportpage.h"

#include <QSize>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <optional>
#include <vector>

class KORVConnection;
class PagePicture;
class MessageService;
class QComboBox;
class QLabel;
class QPrinter;
class QToolButton;
class QScrollArea;

// The preview every report opens in: not modal, ScreenWidth - 100 by ScreenHeight - 600 twips
// at left 50, top 50, captioned by the report. The user pages through it, zooms, prints it on
// the system's printer, saves it as a PDF or exports its rows as CSV, and closes it with its Close
// button, Escape or the window's own close box, all alike. The window deletes itself when closed.
//
//   auto *preview = new FrmReportPreview(Report::paginate(layout, korv.rows("X")), screen, messages, this);
//   preview->closeCommandOnClose(korv, "X");
//   connect(preview, &FrmReportPreview::closed, this, [this] { activateWindow(); });
//   preview->show();
class FrmReportPreview : public QWidget
{
    Q_OBJECT

public:
    enum Zoom { WholePage = -1, PageWidth = -2 }; // or a percentage

    FrmReportPreview(Report::Document document, QSize screenTwips, MessageService &messages,
                     QWidget *owner = nullptr);
    ~FrmReportPreview() override;

    const Report::Document &document() const { return m_document; }
    // Shows the report afresh (asked for again), on the same page where it still has one.
    void setDocument(Report::Document document);
    // Moves the window down and to the right by `steps` captions, keeping its lower right corner,
    // so that the caption of the window it opened over still shows.
    void cascade(int steps);
    int cascadeSteps() const { return m_steps; }
    int pageCount() const { return int(m_document.pages.size()); }
    int currentPage() const { return m_page; } // from 0
    void showPage(int index);                  // kept within the pages
    void setZoom(int zoom);                    // WholePage, PageWidth or a percentage
    int zoom() const;

    // Closing the window closes this command of the report data source, before closed() is sent.
    void closeCommandOnClose(KORVConnection &korv, const QString &command);

    // Asks where to save the PDF or the CSV, given the suggested path (its suffix says which);
    // an empty answer cancels. The file dialog unless a test sets another.
    void setSavePathChooser(std::function<QString(const QString &suggestedPath)> chooser);
    // Write the PDF, or the report's rows as CSV; on failure the user is told why. They return
    // whether the file was written.
    bool saveAsPdf(const QString &filePath);
    bool exportCsv(const QString &filePath);
    // Sets the printer to the report's paper and orientation before the print dialog shows.
    void preparePrinter(QPrinter &printer) const;
    // Prints the printer's page range (every page when none is chosen).
    bool print(QPrinter &printer);

Q_SIGNALS:
    // The window is closing: what each report does then (give the focus back, end the activity).
    void closed();

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void buildControls();
    void refresh();
    double pixelsPerTwip() const;
    // Asks where to save (PDF or CSV, by the suffix) and saves there.
    void askAndSave(const QString &suffix, const QString &filter);
    bool saved(const std::optional<QString> &error, const QString &filePath);
    void askAndPrint();
    void finish();

    Report::Document m_document;
    MessageService &m_messages;
    int m_page = 0;
    int m_steps = 0;
    bool m_finished = false;
    std::vector<std::function<void()>> m_closeActions;
    QStringList m_commands; // closed with the window
    std::function<QString(const QString &)> m_chooseSavePath;

    QToolButton *m_first = nullptr;
    QToolButton *m_previous = nullptr;
    QToolButton *m_next = nullptr;
    QToolButton *m_last = nullptr;
    QLabel *m_pageNumber = nullptr;
    QComboBox *m_zoom = nullptr;
    QScrollArea *m_scroll = nullptr;
    PagePicture *m_picture = nullptr;
};
