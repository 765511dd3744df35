#pragma once

#include <QImage>
#include <QMargins>
#include <QPageLayout>
#include <QPageSize>
#include <QRect>
#include <QString>

#include <deque>

// A report layout in twips, written in code by each report:
//
//   Report::Layout rpt;
//   rpt.caption = "Team List Report";
//   rpt.reportHeader.height = 600;
//   rpt.reportHeader.label("LblRptTitle", "Team List Report", {0, 0, 6000, 400}, {"Arial", 16, true});
//   Report::Group &team = rpt.addGroup("GroupHeader", "GroupFooter");
//   team.header.height = 300;
//   team.header.field("txtTeamName", "TeamName", {0, 0, 4000, 285});
//   rpt.detail.height = 285;
//   rpt.detail.field("txtRider", "Person", {500, 0, 4000, 285});
//   rpt.pageFooter.height = 300;
//   rpt.pageFooter.label("LblPage", "Page %p of %P", {0, 0, 3000, 285});
//
// Group level k prints once per row of level k of the shaped rows; the detail prints once per
// row of the level below the last group.
namespace Report {

struct Font
{
    QString family = QStringLiteral("Arial");
    double size = 8; // points
    bool bold = false;
    bool italic = false;
    bool underline = false;

    bool operator==(const Font &) const = default;
};

enum class ItemKind {
    Label,     // caption; "%p" stands for the page number, "%P" for the number of pages
    Field,     // the value of a column
    Image,     // a picture set at run time; its caption shows when there is none
    Line,      // from the rectangle's top left to its bottom right corner
    Rectangle, // a frame
    Count,     // how many values of a column the group (or the report) holds
    Sum,       // the sum of a column over the group (or the report)
};

struct Item
{
    ItemKind kind = ItemKind::Label;
    QString name;
    QRect rect; // twips, from the section's top left corner
    QString caption;
    QString column;
    // A field's name in the rows behind the pages (the CSV), where the heading printed over it
    // does not say it well; empty: that heading, or else the column's name.
    QString heading;
    Font font;
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop;
    bool visible = true;
    bool canGrow = false; // wraps its text and grows the section to fit it
    int lineWidth = 15;   // twips, for lines and rectangles
    QImage picture;
};

// A section prints its items in place; it never splits across pages.
struct Section
{
    Section() = default;
    explicit Section(QString sectionName) : name(std::move(sectionName)) {}

    QString name;
    int height = 0; // twips
    bool visible = true;
    bool pageBreakBefore = false;
    bool pageBreakAfter = false;
    // Group headers: printed again at the top of every page their group continues on, so that
    // each page can be read on its own.
    bool repeatOnEachPage = false;
    std::deque<Item> items; // a deque: an Item& from label() etc. stays valid as more are added

    Item &label(const QString &name, const QString &caption, const QRect &rect, const Font &font = {});
    Item &field(const QString &name, const QString &column, const QRect &rect, const Font &font = {});
    Item &image(const QString &name, const QRect &rect, const QString &fallback = {}, const Font &font = {});
    Item &line(const QString &name, const QRect &rect);
    Item &rectangle(const QString &name, const QRect &rect);
    Item &count(const QString &name, const QString &column, const QRect &rect, const Font &font = {});
    Item &sum(const QString &name, const QString &column, const QRect &rect, const Font &font = {});

    Item *find(QStringView itemName);
    const Item *find(QStringView itemName) const;
};

struct Group
{
    Section header;
    Section footer;
};

struct Layout
{
    QString caption; // the preview window's caption
    QString title;   // the PDF's title and the file name the preview suggests
    QPageSize::PageSizeId paper = QPageSize::Letter;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QMargins margins{720, 720, 720, 720}; // twips

    Section reportHeader{QStringLiteral("ReportHeader")};
    Section pageHeader{QStringLiteral("PageHeader")};
    std::deque<Group> groups; // outermost first; a Group& from addGroup() stays valid
    Section detail{QStringLiteral("Detail")};
    Section pageFooter{QStringLiteral("PageFooter")};
    Section reportFooter{QStringLiteral("ReportFooter")};

    Group &addGroup(const QString &headerName, const QString &footerName);

    // The paper in twips, turned for the orientation, and the width between the margins.
    QSize pageSize() const;
    int printableWidth() const { return pageSize().width() - margins.left() - margins.right(); }

    // A section or a control by name, without regard to letter case. The throwing forms name
    // what is missing (std::out_of_range).
    Section *findSection(QStringView name);
    Section &section(QStringView name);
    Item &control(QStringView sectionName, QStringView controlName);

    // What screens change at run time.
    void setCaption(QStringView sectionName, QStringView controlName, const QString &caption);
    void setVisible(QStringView sectionName, QStringView controlName, bool visible);
    // Loads the image box's picture from a BMP file, its name matched without regard to letter
    // case; when there is no such file, or it is no picture, the box shows the fallback text.
    // Returns whether the picture was loaded.
    bool setPicture(QStringView sectionName, QStringView controlName, const QString &filePath,
                    const QString &fallback);
};

} // namespace Report
