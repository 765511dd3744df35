#include "import/frmspreadsheetimport.h"

#include "common/messageservice.h"
#include "common/twips.h"
#include "shell/appstate.h"
#include "shell/boundary.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTreeWidget>

using namespace FormKit;
using RosterFields::Kind;

namespace {

const QString ReadAction = QStringLiteral("Reading the meet's roster");
// A group of the preview is shown open up to this many lines; refused lines always are.
constexpr int OpenGroupLines = 100;
// The most characters of a column's first value shown beside its heading.
constexpr int SampleLength = 16;

// The column letters a spreadsheet shows: A to Z, then AA, AB ...
QString columnLetters(int column)
{
    QString letters;
    for (int n = column + 1; n > 0; n = (n - 1) / 26)
        letters.prepend(QChar(u'A' + (n - 1) % 26));
    return letters;
}

// A step's page, headed by a hint of that height that says what to do.
QWidget *stepPage(const QString &hintName, const QString &hint, int hintHeight)
{
    auto *page = new QWidget;
    QLabel *l = label(page, hintName, hint, 120, 120, 10320, hintHeight);
    l->setWordWrap(true);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return page;
}

} // namespace

FrmSpreadsheetImport::FrmSpreadsheetImport(AppState &app, QWidget *mainMenu)
    : OwnedWindow(mainMenu, {mainMenu}, mainMenu), m_app(app)
{
    setObjectName(QStringLiteral("FrmSpreadsheetImport"));
    setWindowTitle(QStringLiteral("Spreadsheet Import Wizard"));
    setInnerSize(this, 10800, 8100);
    title(this, QStringLiteral("LblTitle"), QStringLiteral("Spreadsheet Import Wizard"), 120, 120, 10560,
          495);
    m_stepCaption = label(this, QStringLiteral("LblStep"), QString(), 240, 720, 10320, 300);
    QFont bold = m_stepCaption->font();
    bold.setBold(true);
    m_stepCaption->setFont(bold);

    m_pages = new QStackedWidget(this);
    m_pages->setObjectName(QStringLiteral("FraSteps"));
    m_pages->setGeometry(Twips::rect(120, 1080, 10560, 6240));
    m_pages->addWidget(filesPage());

    QWidget *columns =
        stepPage(QStringLiteral("LblColumnsHint"),
                 QStringLiteral("Choose the column of the file that holds each field. Fields "
                                "marked * must have one; columns chosen for no field are left out."),
                 600);
    m_columns = new QTabWidget(columns);
    m_columns->setObjectName(QStringLiteral("TabColumns"));
    m_columns->setGeometry(Twips::rect(120, 780, 10320, 5340));
    m_pages->addWidget(columns);
    m_pages->addWidget(previewPage());

    m_back = button(this, QStringLiteral("CmdBack"), QStringLiteral("< Back"), 4680, 7440, 1395, 495);
    m_next = button(this, QStringLiteral("CmdNext"), QStringLiteral("Next >"), 6195, 7440, 1395, 495);
    m_import = button(this, QStringLiteral("CmdImport"), QStringLiteral("Import"), 7710, 7440, 1395, 495);
    QPushButton *cancel =
        button(this, QStringLiteral("CmdCancel"), QStringLiteral("Cancel"), 9225, 7440, 1395, 495);
    connect(m_back, &QPushButton::clicked, this, &FrmSpreadsheetImport::CmdBack_Click);
    connect(m_next, &QPushButton::clicked, this, &FrmSpreadsheetImport::CmdNext_Click);
    connect(m_import, &QPushButton::clicked, this, &FrmSpreadsheetImport::CmdImport_Click);
    connect(cancel, &QPushButton::clicked, this, &QWidget::close);

    Get_Import_File = [this](Kind kind) {
        // Not owned by the main menu, which is disabled while the wizard runs.
        return QFileDialog::getOpenFileName(
            nullptr, QStringLiteral("Select the %1 File").arg(RosterFields::kindName(kind)), m_app.AppFolder,
            QStringLiteral("Spreadsheet Files (*.csv *.txt);;All Files (*)"), nullptr, QFileDialog::ReadOnly);
    };
    showStep(Step::Files);
}

FrmSpreadsheetImport *FrmSpreadsheetImport::open(AppState &app, QWidget *mainMenu)
{
    auto *wizard = new FrmSpreadsheetImport(app, mainMenu);
    wizard->show();
    centreOnScreen(wizard, app);
    return wizard;
}

QWidget *FrmSpreadsheetImport::filesPage()
{
    QWidget *page = stepPage(
        QStringLiteral("LblFilesHint"),
        QStringLiteral("Choose the spreadsheet file, saved as CSV or as Unicode Text, of each kind to "
                       "import, and leave the "
                       "others empty. The first line of a file names its columns. Coaches and riders "
                       "name their team by team name and division: the team must be in the meet, or in "
                       "the teams file chosen here."),
        900);
    for (const Kind kind : RosterFields::Kinds) {
        const int i = int(kind);
        const int top = 1260 + i * 720;
        QLabel *caption =
            label(page, QStringLiteral("LblFile_%1").arg(i),
                  RosterFields::kindName(kind) + QStringLiteral(" file"), 120, top + 45, 1560, 300);
        m_files[i] = textBox(page, QStringLiteral("TxtFile_%1").arg(i), caption, 1800, top, 6960, 375, 0);
        QPushButton *browse = button(page, QStringLiteral("CmdBrowse_%1").arg(i), QStringLiteral("Browse..."),
                                     8880, top - 30, 1455, 435);
        browse->setAccessibleName(
            QStringLiteral("Browse for the %1 file").arg(RosterFields::recordName(kind)));
        connect(browse, &QPushButton::clicked, this, [this, kind] { CmdBrowse_Click(kind); });
    }
    return page;
}

QWidget *FrmSpreadsheetImport::previewPage()
{
    QWidget *page =
        stepPage(QStringLiteral("LblPreviewHint"),
                 QStringLiteral("Nothing has been written yet. Import adds the new records and leaves "
                                "out the refused lines, all at once."),
                 600);
    m_preview = new QTreeWidget(page);
    m_preview->setObjectName(QStringLiteral("TVPreview"));
    m_preview->setAccessibleName(QStringLiteral("What the files bring"));
    m_preview->setHeaderHidden(true);
    m_preview->header()->setStretchLastSection(false); // long lines scroll rather than being cut
    m_preview->setGeometry(Twips::rect(120, 780, 10320, 4680));
    m_update = new QCheckBox(QStringLiteral("Update the records already there from the files (an empty cell "
                                            "changes nothing)"),
                             page);
    m_update->setObjectName(QStringLiteral("ChkUpdate"));
    m_update->setGeometry(Twips::rect(120, 5640, 10320, 375));
    return page;
}

QWidget *FrmSpreadsheetImport::columnsTab(const RosterSheet &sheet)
{
    auto *tab = new QWidget;
    // Each column by its letter and heading, with its first value to go by.
    QStringList items{QStringLiteral("(none)")};
    for (int c = 0; c < sheet.headings.size(); ++c) {
        QString item = columnLetters(c) + QStringLiteral(": ") +
                       (sheet.headings[c].isEmpty() ? QStringLiteral("(no heading)") : sheet.headings[c]);
        QString first = sheet.records.isEmpty() ? QString() : sheet.records.front().fields.value(c);
        first = first.section(u'\n', 0, 0).trimmed();
        if (!first.isEmpty())
            item += QStringLiteral(" (%1)").arg(first.size() > SampleLength ? first.left(SampleLength) + u'…'
                                                                            : first);
        items << item;
    }
    const QVector<RosterFields::Field> &fields = RosterFields::fields(sheet.kind);
    QVector<QComboBox *> boxes;
    for (int f = 0; f < fields.size(); ++f) {
        const int left = 240 + (f / 6) * 5040;
        const int top = 240 + (f % 6) * 600;
        QLabel *caption = label(tab, QStringLiteral("LblColumn_%1_%2").arg(int(sheet.kind)).arg(f),
                                fields[f].heading + (fields[f].required ? QStringLiteral(" *") : QString()),
                                left, top + 45, 1800, 300);
        QComboBox *box = comboBox(tab, QStringLiteral("CbColumn_%1_%2").arg(int(sheet.kind)).arg(f), caption,
                                  left + 1860, top, 2940, 375, items);
        box->setCurrentIndex(sheet.columnOf[f] + 1);
        boxes << box;
    }
    m_columnBoxes << boxes;
    return tab;
}

void FrmSpreadsheetImport::showStep(Step step)
{
    m_step = step;
    m_pages->setCurrentIndex(int(step));
    static const std::array<QString, 3> captions{
        QStringLiteral("Step 1 of 3: the files"),
        QStringLiteral("Step 2 of 3: which column holds which field"),
        QStringLiteral("Step 3 of 3: what will arrive"),
    };
    m_stepCaption->setText(captions[int(step)]);
    m_back->setEnabled(step != Step::Files);
    m_next->setEnabled(step != Step::Preview);
    m_import->setEnabled(step == Step::Preview);
    (step == Step::Preview ? m_import : m_next)->setDefault(true);
}

void FrmSpreadsheetImport::CmdBrowse_Click(Kind kind)
{
    const QString path = Get_Import_File ? Get_Import_File(kind) : QString();
    if (!path.isEmpty())
        m_files[int(kind)]->setText(QDir::toNativeSeparators(path));
    m_files[int(kind)]->setFocus();
}

void FrmSpreadsheetImport::CmdBack_Click()
{
    showStep(Step(int(m_step) - 1));
}

void FrmSpreadsheetImport::CmdNext_Click()
{
    if (m_step == Step::Files && readFiles())
        showStep(Step::Columns);
    else if (m_step == Step::Columns && takeColumns() && makePreview())
        showStep(Step::Preview);
}

bool FrmSpreadsheetImport::readFiles()
{
    QVector<RosterSheet> sheets;
    for (const Kind kind : RosterFields::Kinds) {
        const QString path = m_files[int(kind)]->text().trimmed();
        if (path.isEmpty())
            continue;
        RosterSheet sheet;
        if (const auto refusal = sheet.load(kind, QDir::fromNativeSeparators(path))) {
            m_app.messages->fail(*refusal);
            m_files[int(kind)]->setFocus();
            return false;
        }
        sheets << sheet;
    }
    if (sheets.isEmpty()) {
        m_app.messages->refuse(MessageService::Refusal::Submit, QStringLiteral("Choose at least one file."));
        m_files[0]->setFocus();
        return false;
    }
    m_sheets = sheets;
    while (m_columns->count() > 0) {
        QWidget *tab = m_columns->widget(0);
        m_columns->removeTab(0);
        delete tab;
    }
    m_columnBoxes.clear();
    for (const RosterSheet &sheet : std::as_const(m_sheets))
        m_columns->addTab(columnsTab(sheet), QStringLiteral("%1 (%2)").arg(RosterFields::kindName(sheet.kind),
                                                                           QFileInfo(sheet.path).fileName()));
    return true;
}

bool FrmSpreadsheetImport::takeColumns()
{
    for (int s = 0; s < m_sheets.size(); ++s) {
        RosterSheet &sheet = m_sheets[s];
        const QVector<RosterFields::Field> &fields = RosterFields::fields(sheet.kind);
        for (int f = 0; f < fields.size(); ++f) {
            sheet.columnOf[f] = m_columnBoxes[s][f]->currentIndex() - 1;
            if (fields[f].required && sheet.columnOf[f] < 0) {
                m_columns->setCurrentIndex(s);
                m_app.messages->refuse(MessageService::Refusal::Submit,
                                       QStringLiteral("Choose the column of the %1 file that holds %2.")
                                           .arg(RosterFields::recordName(sheet.kind), fields[f].heading));
                m_columnBoxes[s][f]->setFocus();
                return false;
            }
        }
    }
    return true;
}

bool FrmSpreadsheetImport::makePreview()
{
    RosterImport::Preview preview;
    m_roster.emplace(m_app.MeetDb(), m_sheets);
    if (!Boundary::run(*m_app.messages, ReadAction, [&] { preview = m_roster->preview(); }))
        return false;
    m_previewed = preview;
    m_preview->clear();
    for (const RosterImport::Sheet &sheet : std::as_const(m_previewed)) {
        auto *top = new QTreeWidgetItem(m_preview, {RosterImport::sheetText(sheet)});
        top->setExpanded(true);
        const std::array<std::pair<RosterImport::State, QString>, 3> groups{{
            {RosterImport::State::New, QStringLiteral("New")},
            {RosterImport::State::Existing, QStringLiteral("Already there")},
            {RosterImport::State::Refused, QStringLiteral("Refused")},
        }};
        for (const auto &[state, caption] : groups) {
            const int n = sheet.count(state);
            if (n == 0)
                continue;
            auto *group = new QTreeWidgetItem(top, {QStringLiteral("%1 (%2)").arg(caption).arg(n)});
            for (const RosterImport::Line &line : sheet.lines)
                if (line.state == state)
                    new QTreeWidgetItem(group, {RosterImport::lineText(sheet.kind, line)});
            group->setExpanded(state == RosterImport::State::Refused || n <= OpenGroupLines);
        }
    }
    m_preview->resizeColumnToContents(0);
    if (m_preview->topLevelItemCount() > 0)
        m_preview->setCurrentItem(m_preview->topLevelItem(0));
    return true;
}

void FrmSpreadsheetImport::CmdImport_Click()
{
    // All or nothing: after a failure the wizard stays open, to try again or cancel.
    if (!m_app.safety.before(*m_app.messages, QStringLiteral("importing a spreadsheet roster")))
        return;
    RosterImport::Outcome outcome;
    if (!Boundary::run(
            *m_app.messages, QStringLiteral("Importing the spreadsheet roster"),
            [&] { outcome = m_roster->importInto(m_previewed, m_update->isChecked()); },
            QStringLiteral("Nothing was imported.")))
        return;
    if (outcome.changedSincePreview) {
        m_app.messages->tell(RosterImport::Changed);
        makePreview();
        return;
    }
    m_app.messages->tell(outcome.message());
    close();
}
