#include "reports/frmreportpreview.h"

#include "common/messageservice.h"
#include "common/twips.h"
#include "reports/korvconnection.h"
#include "reports/pagepicture.h"
#include "reports/reportpainter.h"
#include "reports/reportpdf.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QStandardPaths>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// The folder of the last file saved during this run, where the next one is suggested.
QString &lastSaveFolder()
{
    static QString folder;
    return folder;
}

template <typename Button>
Button *button(QWidget *parent, const char *name, const QString &text, const QString &accessibleName)
{
    auto *b = new Button(parent);
    b->setText(text);
    b->setObjectName(QLatin1StringView(name));
    b->setAccessibleName(accessibleName);
    b->setToolTip(accessibleName);
    return b;
}

} // namespace

FrmReportPreview::FrmReportPreview(Report::Document document, QSize screenTwips, MessageService &messages,
                                   QWidget *owner)
    : QWidget(owner, Qt::Window), m_document(std::move(document)), m_messages(messages)
{
    setObjectName(QStringLiteral("FrmReportPreview"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(m_document.caption);
    buildControls();
    // The outer corner at 50, 50, so that the caption and its close button stay on the screen.
    move(Twips::point(50, 50));
    resize(Twips::size(screenTwips.width() - 100 - Twips::FrameWidth,
                       screenTwips.height() - 600 - Twips::FrameHeight));
    refresh();
}

FrmReportPreview::~FrmReportPreview()
{
    finish();
}

void FrmReportPreview::buildControls()
{
    m_first = button<QToolButton>(this, "CmdFirstPage", QStringLiteral("|<"), tr("First page"));
    m_previous = button<QToolButton>(this, "CmdPreviousPage", QStringLiteral("<"), tr("Previous page"));
    m_next = button<QToolButton>(this, "CmdNextPage", QStringLiteral(">"), tr("Next page"));
    m_last = button<QToolButton>(this, "CmdLastPage", QStringLiteral(">|"), tr("Last page"));
    m_pageNumber = new QLabel(this);
    m_pageNumber->setObjectName(QStringLiteral("LblPageNumber"));
    m_pageNumber->setMinimumWidth(Twips::toPixels(1200));
    m_pageNumber->setAlignment(Qt::AlignCenter);

    auto *zoomLabel = new QLabel(tr("&Zoom:"), this);
    m_zoom = new QComboBox(this);
    m_zoom->setObjectName(QStringLiteral("CbZoom"));
    zoomLabel->setBuddy(m_zoom);
    m_zoom->addItem(tr("Whole Page"), int(WholePage));
    m_zoom->addItem(tr("Page Width"), int(PageWidth));
    for (int percent : {50, 75, 100, 150, 200})
        m_zoom->addItem(QStringLiteral("%1%").arg(percent), percent);
    m_zoom->setCurrentIndex(1);

    auto *print = button<QPushButton>(this, "CmdPrint", tr("&Print..."), tr("Print"));
    auto *pdf = button<QPushButton>(this, "CmdSaveAsPdf", tr("&Save as PDF..."), tr("Save as PDF"));
    auto *csv = button<QPushButton>(this, "CmdExportCsv", tr("E&xport CSV..."), tr("Export CSV"));
    auto *closing = button<QPushButton>(this, "CmdClose", tr("&Close"), tr("Close"));

    auto *bar = new QHBoxLayout;
    for (QWidget *w : std::initializer_list<QWidget *>{m_first, m_previous, m_pageNumber, m_next, m_last})
        bar->addWidget(w);
    bar->addSpacing(Twips::toPixels(300));
    bar->addWidget(zoomLabel);
    bar->addWidget(m_zoom);
    bar->addStretch();
    bar->addWidget(print);
    bar->addWidget(pdf);
    bar->addWidget(csv);
    bar->addWidget(closing);

    m_picture = new PagePicture;
    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("FraPage"));
    m_scroll->setWidget(m_picture);
    m_scroll->setWidgetResizable(true);
    m_scroll->setAlignment(Qt::AlignCenter);
    m_scroll->setBackgroundRole(QPalette::Dark);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(m_scroll, 1);

    connect(m_first, &QToolButton::clicked, this, [this] { showPage(0); });
    connect(m_previous, &QToolButton::clicked, this, [this] { showPage(m_page - 1); });
    connect(m_next, &QToolButton::clicked, this, [this] { showPage(m_page + 1); });
    connect(m_last, &QToolButton::clicked, this, [this] { showPage(pageCount() - 1); });
    connect(m_zoom, &QComboBox::currentIndexChanged, this, [this] { refresh(); });
    connect(print, &QPushButton::clicked, this, [this] { askAndPrint(); });
    connect(pdf, &QPushButton::clicked, this,
            [this] { askAndSave(QStringLiteral(".pdf"), tr("PDF files (*.pdf)")); });
    connect(csv, &QPushButton::clicked, this,
            [this] { askAndSave(QStringLiteral(".csv"), tr("CSV files (*.csv)")); });
    // The same way out as the window's close box.
    connect(closing, &QPushButton::clicked, this, &QWidget::close);

    const auto shortcut = [this](QKeySequence keys, auto action) {
        connect(new QShortcut(keys, this), &QShortcut::activated, this, action);
    };
    shortcut(QKeySequence(Qt::Key_PageDown), [this] { showPage(m_page + 1); });
    shortcut(QKeySequence(Qt::Key_PageUp), [this] { showPage(m_page - 1); });
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_Home), [this] { showPage(0); });
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_End), [this] { showPage(pageCount() - 1); });
    shortcut(QKeySequence(Qt::Key_Escape), [this] { close(); });
}

void FrmReportPreview::setDocument(Report::Document document)
{
    m_document = std::move(document);
    setWindowTitle(m_document.caption);
    m_page = std::clamp(m_page, 0, std::max(0, pageCount() - 1));
    refresh();
}

void FrmReportPreview::cascade(int steps)
{
    const int by = Twips::toPixels(Twips::FrameHeight) * (steps - m_steps);
    m_steps = steps;
    move(pos() + QPoint(by, by));
    resize(size() - QSize(by, by));
}

void FrmReportPreview::showPage(int index)
{
    const int page = std::clamp(index, 0, std::max(0, pageCount() - 1));
    if (page == m_page)
        return;
    m_page = page;
    refresh();
    m_scroll->verticalScrollBar()->setValue(0);
}

void FrmReportPreview::setZoom(int zoom)
{
    const int index = m_zoom->findData(zoom);
    if (index >= 0) {
        m_zoom->setCurrentIndex(index);
    } else {
        m_zoom->addItem(QStringLiteral("%1%").arg(zoom), zoom);
        m_zoom->setCurrentIndex(m_zoom->count() - 1);
    }
}

int FrmReportPreview::zoom() const
{
    return m_zoom->currentData().toInt();
}

double FrmReportPreview::pixelsPerTwip() const
{
    const QSize page =
        m_document.pages.empty() ? m_document.pageSize : m_document.pages[std::size_t(m_page)].size;
    // Room inside the scroll area for the page and a narrow grey border around it.
    const QSize room = m_scroll->maximumViewportSize() - QSize(24, 24);
    const auto fit = [](int pixels, int twips) { return double(std::max(pixels, 50)) / twips; };
    switch (zoom()) {
    case WholePage:
        return std::min(fit(room.width(), page.width()), fit(room.height(), page.height()));
    case PageWidth: // a page as wide as the window is taller than it: leave room for the scroll bar
        return fit(room.width() - m_scroll->verticalScrollBar()->sizeHint().width(), page.width());
    default:
        return zoom() / 100.0 / Twips::PerPixel;
    }
}

void FrmReportPreview::refresh()
{
    const int count = pageCount();
    m_pageNumber->setText(tr("Page %1 of %2").arg(count ? m_page + 1 : 0).arg(count));
    m_first->setEnabled(m_page > 0);
    m_previous->setEnabled(m_page > 0);
    m_next->setEnabled(m_page + 1 < count);
    m_last->setEnabled(m_page + 1 < count);
    if (!count)
        return;
    m_picture->showPage(&m_document.pages[std::size_t(m_page)], pixelsPerTwip());
    m_picture->setAccessibleName(tr("Page %1 of %2").arg(m_page + 1).arg(count));
}

void FrmReportPreview::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (zoom() < 0)
        refresh();
}

void FrmReportPreview::closeCommandOnClose(KORVConnection &korv, const QString &command)
{
    if (m_commands.contains(command))
        return;
    m_commands << command;
    m_closeActions.push_back([&korv, command] { korv.close(command); });
}

void FrmReportPreview::setSavePathChooser(std::function<QString(const QString &)> chooser)
{
    m_chooseSavePath = std::move(chooser);
}

bool FrmReportPreview::saveAsPdf(const QString &filePath)
{
    return saved(Report::writePdf(m_document, filePath), filePath);
}

bool FrmReportPreview::exportCsv(const QString &filePath)
{
    return saved(Report::writeCsv(m_document, filePath), filePath);
}

bool FrmReportPreview::saved(const std::optional<QString> &error, const QString &filePath)
{
    if (error) {
        m_messages.fail(*error);
        return false;
    }
    lastSaveFolder() = QFileInfo(filePath).absolutePath();
    return true;
}

void FrmReportPreview::askAndSave(const QString &suffix, const QString &filter)
{
    QString folder = lastSaveFolder();
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString suggested = QDir(folder).filePath(Report::suggestedFileName(m_document, suffix));
    const bool pdf = suffix == QLatin1StringView(".pdf");
    QString path = m_chooseSavePath
                       ? m_chooseSavePath(suggested)
                       : QFileDialog::getSaveFileName(this, pdf ? tr("Save as PDF") : tr("Export CSV"),
                                                      suggested, filter);
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += suffix;
    if (pdf)
        saveAsPdf(path);
    else
        exportCsv(path);
}

bool FrmReportPreview::print(QPrinter &printer)
{
    printer.setFullPage(true);
    int from = printer.fromPage();
    int to = printer.toPage();
    if (from <= 0) {
        from = 1;
        to = pageCount();
    }
    to = std::min(to, pageCount());
    if (from > to)
        return true;
    // Each page printed the way it is laid out, on the paper chosen in the print dialog.
    printer.setPageOrientation(m_document.pages[std::size_t(from - 1)].orientation);
    QPainter painter;
    if (!painter.begin(&printer)) {
        m_messages.fail(tr("The report could not be printed: the printer did not accept it."));
        return false;
    }
    for (int page = from; page <= to; ++page) {
        if (page > from) {
            // The next page takes the orientation set before it begins: a pack mixes them.
            printer.setPageOrientation(m_document.pages[std::size_t(page - 1)].orientation);
            printer.newPage();
        }
        painter.save();
        Report::scaleToTwips(painter, printer.resolution());
        Report::paintPage(m_document.pages[std::size_t(page - 1)], painter);
        painter.restore();
    }
    return painter.end();
}

void FrmReportPreview::preparePrinter(QPrinter &printer) const
{
    printer.setPageSize(QPageSize(m_document.paper));
    printer.setPageOrientation(m_document.orientation);
    printer.setDocName(m_document.title);
}

void FrmReportPreview::askAndPrint()
{
    QPrinter printer(QPrinter::HighResolution);
    preparePrinter(printer);
    QPrintDialog dialog(&printer, this);
    dialog.setMinMax(1, pageCount());
    dialog.setOption(QAbstractPrintDialog::PrintPageRange);
    if (dialog.exec() == QDialog::Accepted)
        print(printer);
}

void FrmReportPreview::closeEvent(QCloseEvent *event)
{
    finish();
    event->accept();
}

void FrmReportPreview::finish()
{
    if (m_finished)
        return;
    m_finished = true;
    for (const auto &action : m_closeActions)
        action();
    Q_EMIT closed();
}
