#include "judging/judgeagenda.h"

namespace JudgeAgenda {

ShapeQuery query(const QString &division)
{
    return ShapeQuery(Command,
                      QStringLiteral(
                          "SELECT TblJudge.FirstName || ' ' || TblJudge.LastName AS Judge, TblJudge.JudgeID, "
                          "TblClassJudges.Division, TblClass.ClassName, TblClass.ClassNumber AS "
                          "\"TblClass.ClassNumber\" "
                          "FROM TblClass INNER JOIN TblClassJudges ON TblClassJudges.ClassNumber = "
                          "TblClass.ClassNumber "
                          "INNER JOIN TblJudge ON TblClassJudges.JudgeID = TblJudge.JudgeID "
                          "WHERE TblClassJudges.Division = ? "
                          "ORDER BY TblClass.ClassNumber, TblJudge.LastName NULLS FIRST, TblJudge.FirstName "
                          "NULLS FIRST, TblJudge.JudgeID"),
                      {division})
        .computeBy({QStringLiteral("TblClass.ClassNumber"), QStringLiteral("ClassName")});
}

Report::Layout RptJudgeAgenda(const QString &division)
{
    const Report::Font title{QStringLiteral("Arial"), 16, true};
    const Report::Font heading{QStringLiteral("Arial"), 11, true};
    const Report::Font body{QStringLiteral("Arial"), 10};

    Report::Layout rpt;
    rpt.caption = QStringLiteral("Judging Agenda");
    rpt.title = QStringLiteral("Judging Assignment List");
    const int width = rpt.printableWidth();
    rpt.reportHeader.height = 1080;
    rpt.reportHeader.label(QStringLiteral("LblTitle"), rpt.title, {0, 0, width, 480}, title).alignment =
        Qt::AlignHCenter | Qt::AlignTop;
    rpt.reportHeader
        .label(QStringLiteral("LblShow"), QStringLiteral("KORV State Championship, Division: ") + division,
               {0, 540, width, 345}, heading)
        .alignment = Qt::AlignHCenter | Qt::AlignTop;

    Report::Section &cls = rpt.addGroup(QStringLiteral("GroupHeader"), QStringLiteral("GroupFooter")).header;
    cls.height = 480;
    cls.field(QStringLiteral("txtTblClassClassNumber"), QStringLiteral("TblClass.ClassNumber"),
              {0, 90, 600, 300}, heading)
        .alignment = Qt::AlignRight | Qt::AlignTop;
    cls.field(QStringLiteral("txtClassName"), QStringLiteral("ClassName"), {840, 90, 6000, 300}, heading);
    cls.line(QStringLiteral("LinClass"), {0, 420, width, 0});

    rpt.detail.height = 300;
    rpt.detail.field(QStringLiteral("txtFirstName"), QStringLiteral("Judge"), {840, 15, 6000, 285}, body);
    return rpt;
}

} // namespace JudgeAgenda
