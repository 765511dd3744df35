// Rider entries through the real windows: choosing a team, the grid built from what is stored,
// the class limit while ticking, the relay partner boxes, long names, scrolling, Submit and Cancel.
#include "gridprobe.h"
#include "meetharness.h"

#include "entries/frmclassassignments.h"
#include "entries/frmentries.h"
#include "shell/editform.h"

#include <QAbstractTextDocumentLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>

class TstEntryGrid : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<MeetHarness> m;
    FrmEntries *m_screen = nullptr;
    QVector<std::int32_t> m_riders; // rider r (numbered "01" to "12") at r - 1

    frmClassAssignments *grid() { return MeetHarness::window<frmClassAssignments>("frmClassAssignments"); }

    frmClassAssignments *openTeam(int line)
    {
        m_screen->findChild<QComboBox *>("CbTeamName")->setCurrentIndex(line);
        MeetHarness::click(m_screen, "CmdSubmit");
        return grid();
    }

    static void click(frmClassAssignments *g, int row, int cls)
    {
        g->showCell(row, cls);
        QTest::mouseClick(g->cell(row, cls), Qt::LeftButton);
    }

private Q_SLOTS:
    void init()
    {
        m = std::make_unique<MeetHarness>();
        auto b = m->build();
        b.addTeam("Gold", "A");
        b.addTeam("Empty", "B");
        const auto blue = b.addTeam("Blue", "B");
        const auto red = b.addTeam("Red", "B");
        m_riders.clear();
        for (int r = 1; r <= 12; ++r)
            m_riders << b.addRider(blue, QStringLiteral("Rider%1").arg(r), "Blue",
                                   QStringLiteral("%1").arg(r, 2, 10, QChar(u'0')));
        b.addRider(red, "Ruth", "Red", "40");
        m_screen = m->open<FrmEntries>("B");
    }
    void cleanup() { m.reset(); }

    void open_teamsOfTheDivisionAndTheRefusals()
    {
        auto *box = m_screen->findChild<QComboBox *>("CbTeamName");
        QCOMPARE(box->count(), 3);
        QCOMPARE((QStringList{box->itemText(0), box->itemText(1), box->itemText(2)}),
                 (QStringList{"Blue", "Empty", "Red"}));
        MeetHarness::click(m_screen, "CmdSubmit");
        QCOMPARE(m->messages.last()->text, EntrySheet::NoTeamChosen);
        QVERIFY(!openTeam(1));
        QCOMPARE(m->messages.last()->text, EntrySheet::NoRiders);
        QVERIFY(m->main.isEnabled());
        QVERIFY(openTeam(0));
        QVERIFY(!m->main.isEnabled() && !m_screen->isEnabled());
        QCOMPARE(grid()->findChild<QPlainTextEdit *>("TxtTeam")->toPlainText(), "Blue (B)");
    }

    void grid_storedEntriesAndTheClassLimit()
    {
        auto b = m->build();
        for (int r = 1; r <= 5; ++r) // class 1 allows 4: stored data above the limit
            b.addEntry(1, m_riders[r - 1]);
        b.addEntry(5, m_riders[0]);
        b.addEntry(5, m_riders[0]); // a duplicate counts once
        b.addEntry(17, m_riders[3]);
        b.addPairing(m_riders[3], m_riders[5]);
        frmClassAssignments *g = openTeam(0);
        QVERIFY(g);
        QCOMPARE(GridProbe::column(g, 1), "1 2 3 4 5/6 7 8 9 10 11 12");
        QCOMPARE(GridProbe::column(g, 5), "1/");
        QVERIFY(g->partnerBox(4)->isEnabled() && !g->partnerBox(3)->isEnabled());
        QCOMPARE(g->partnerBox(4)->currentText(), "06");

        // Class 5 allows 3: the third tick locks the column, taking one away frees it.
        click(g, 2, 5);
        click(g, 9, 5);
        QCOMPARE(GridProbe::column(g, 5), "1 2 9/3 4 5 6 7 8 10 11 12");
        g->cell(3, 5)->setChecked(true); // a locked cell takes no tick from code either
        QCOMPARE(GridProbe::column(g, 5), "1 2 9/3 4 5 6 7 8 10 11 12");
        // The arrow keys pass over locked cells, across the column and down it.
        g->activateWindow();
        const auto arrow = [](QWidget *from, Qt::Key key, QWidget *to) {
            from->setFocus();
            QTest::keyClick(from, key);
            QTRY_VERIFY(to->hasFocus() && to->isVisible());
        };
        arrow(g->cell(3, 4), Qt::Key_Right, g->cell(3, 6));
        arrow(g->cell(2, 5), Qt::Key_Down, g->cell(9, 5));
        click(g, 1, 5);
        QCOMPARE(GridProbe::column(g, 5), "2 9/");
        click(g, 1, 1);
        QCOMPARE(GridProbe::column(g, 1), "2 3 4 5/1 6 7 8 9 10 11 12"); // still four
        click(g, 2, 1);
        QCOMPARE(GridProbe::column(g, 1), "3 4 5/"); // below the limit at last

        // The relay tick opens the partner box; taking it away empties and closes it.
        click(g, 4, 17);
        QVERIFY(!g->partnerBox(4)->isEnabled() && g->partnerBox(4)->currentText().isEmpty());
        click(g, 7, 17);
        QVERIFY(g->partnerBox(7)->isEnabled());
        arrow(g->cell(7, 17), Qt::Key_Right, g->partnerBox(7)); // scrolled into view

        QCOMPARE(g->cell(3, 2)->accessibleName(), "Rider3 Blue (03), class 2");
        QCOMPARE(g->partnerBox(3)->accessibleName(), "Relay partner of Rider3 Blue (03)");
        QCOMPARE(g->cell(3, 2)->objectName(), "ChbArrayControl_36");
    }

    // Names of the stored maximum of 50 characters: the row label and the team box shorten the
    // names, never the rider number or the division, and carry the whole text as tooltip.
    void longNames_shortenedKeepingNumberAndDivision()
    {
        const QString first = "Alexandrina Maximiliana Josephine Charlotte Louisa";
        const QString last = "Featherstonehaugh-Cholmondeley-Marjoribanks-Wemyss";
        const QString team = "Northern Valley Pony Club Equestrian Team Yellow-B";
        auto b = m->build();
        b.addRider(b.addTeam(team, "B"), first, last, "123");
        m_screen->Set_Division("B");
        frmClassAssignments *g = openTeam(2);
        auto *label = g->findChild<QLabel *>("lblrider_1");
        QVERIFY2(label->text().endsWith(u"\u2026 - (123)"), qPrintable(label->text()));
        QVERIFY(label->fontMetrics().horizontalAdvance(label->text()) <= label->width());
        QCOMPARE(label->toolTip(), first + ' ' + last + " - (123)");
        QCOMPARE(g->cell(1, 1)->accessibleName(), first + ' ' + last + " (123), class 1");

        auto *box = g->findChild<QPlainTextEdit *>("TxtTeam");
        QVERIFY2(box->toPlainText().endsWith(u"\u2026 (B)"), qPrintable(box->toPlainText()));
        QCOMPARE(box->toolTip(), team + " (B)");
        const QTextBlock block = box->document()->firstBlock();
        box->document()->documentLayout()->blockBoundingRect(block);
        QVERIFY(block.layout()->lineCount() <= 2);
    }

    void scrolling_keepsHeadersNamesCellsAndPartnersInStep()
    {
        frmClassAssignments *g = openTeam(0);
        auto *rows = g->findChild<QScrollBar *>("Chbvscroll");
        auto *columns = g->findChild<QScrollBar *>("Chbhscroll");
        QCOMPARE((QList<int>{rows->maximum(), columns->maximum()}), (QList<int>{4, 4}));
        QSet<int> columnsSeen;
        GridProbe::walk(
            g, "lblrider", [g](int r) { return g->partnerBox(r); }, columnsSeen);
        QCOMPARE(columnsSeen.size(), 18);
        // The arrow keys walk off the edge of the view and scroll.
        columns->setValue(0);
        rows->setValue(0);
        g->cell(8, 14)->setFocus();
        QTest::keyClick(g->cell(8, 14), Qt::Key_Right);
        QTest::keyClick(g->cell(8, 15), Qt::Key_Down);
        QCOMPARE((QList<int>{columns->value(), rows->value()}), (QList<int>{1, 1}));
        QVERIFY(g->cell(9, 15)->isVisible());
    }

    // A tick counts however it is given: the mouse, Space, a screen reader's Toggle.
    void submit_savesThenReopensWithTheSameMarks()
    {
        frmClassAssignments *g = openTeam(0);
        click(g, 1, 3);
        GridProbe::space(g->cell(2, 3));
        g->showCell(12, 17);
        GridProbe::toggle(g->cell(12, 17));
        g->partnerBox(12)->setEditText("2"); // rider "02", by value
        m->messages.answer({false});
        MeetHarness::click(g, "CmdApply");
        QCOMPARE(m->messages.last()->text, EntrySheet::saveQuestion(3));
        QVERIFY(grid());
        m->confirm(g, "CmdApply");
        QVERIFY(!grid() && m->main.isEnabled() && m_screen->isEnabled());
        QTRY_COMPARE(QApplication::focusWidget(), m_screen->findChild<QComboBox *>("CbTeamName"));
        QCOMPARE(MeetQuery::count(m->db(), "TblEntry"), 3);

        g = openTeam(0);
        QCOMPARE(GridProbe::column(g, 3), "1 2/");
        QCOMPARE(GridProbe::column(g, 17), "12/");
        QCOMPARE(g->partnerBox(12)->currentText(), "02");
    }

    void submit_refusalOrFailureKeepsTheGridAndTheMarks()
    {
        frmClassAssignments *g = openTeam(0);
        click(g, 12, 17);
        g->showCell(1, 1);
        m->confirm(g, "CmdApply");
        QCOMPARE(m->messages.last()->title, "Submit Error");
        QCOMPARE(m->messages.last()->text, EntrySheet::PartnerMissing);
        // The message names no rider: the box at fault comes into view with the keyboard.
        QCOMPARE(g->focusWidget(), g->partnerBox(12));
        QVERIFY(g->partnerBox(12)->isVisible());

        g->partnerBox(12)->setEditText("40");
        MeetQuery::forceFailure(m->db(), "INSERT ON TblPairing");
        m->confirm(g, "CmdApply");
        QCOMPARE(m->messages.last()->kind, ScriptedMessages::Kind::Fail);
        QVERIFY(m->messages.last()->text.contains("disk is full"));
        QCOMPARE(grid(), g);
        QVERIFY(g->cell(12, 17)->isChecked());
        QCOMPARE(g->partnerBox(12)->currentText(), "40");
        QVERIFY(!m->main.isEnabled());

        m->messages.answer({false, true});
        MeetHarness::click(g, "CmdCancel");
        QCOMPARE(grid(), g);
        MeetHarness::click(g, "CmdCancel");
        QCOMPARE(m->messages.last()->text, EditForm::CancelQuestion);
        QVERIFY(!grid() && m->main.isEnabled());
        QCOMPARE(MeetQuery::count(m->db(), "TblEntry"), 0);
        QCOMPARE(m->messages.unscriptedQuestions, 0);
    }
};

QTEST_MAIN(TstEntryGrid)
#include "tst_entrygrid.moc"
