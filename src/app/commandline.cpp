#include "app/commandline.h"

#include "common/version.h"

#include <QStringList>

#include <algorithm>

namespace CommandLine {

bool has(int argc, char *argv[], const QString &option)
{
    return std::any_of(argv + 1, argv + argc, [&](const char *a) { return option == QLatin1StringView(a); });
}

QString unknown(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        const QString word = QString::fromLocal8Bit(argv[i]);
        if (!word.startsWith(QStringLiteral("--")) || word == QStringLiteral("--"))
            continue;
        const auto known = std::find_if(Options.begin(), Options.end(), [&](const Option &o) { return o.name == word; });
        if (known == Options.end())
            return word;
        if (!known->argument.isEmpty())
            ++i;
    }
    return {};
}

QString version()
{
    return QStringLiteral("Trotwise ") + Version::Number;
}

QString help()
{
    QStringList columns;
    qsizetype width = 0;
    for (const Option &o : Options) {
        columns << (o.argument.isEmpty() ? o.name : o.name + u' ' + o.argument);
        width = std::max(width, columns.last().size());
    }
    QString text = QStringLiteral(
        "Usage: trotwise [OPTION]...\n"
        "Runs the show office of a one-day riding meet. Without options it opens the main menu on the\n"
        "meet of the data folder.\n\nOptions:\n");
    for (std::size_t i = 0; i < Options.size(); ++i)
        text += QStringLiteral("  ") + columns[qsizetype(i)].leftJustified(width + 2) + Options[i].meaning + u'\n';
    return text + QStringLiteral(
                      "\nThe data folder holds the meet file KORVState2006.mdb, LabelFiles, Snapshots and\n"
                      "trotwise.ini: the program's own folder when it can be written, else (as for the\n"
                      "installed program) ~/.local/share/Trotwise.\n"
                      "\nExit status: 0 done; 1 the meet could not be opened, built or published (the\n"
                      "reason is printed or shown); 2 options that cannot be used (an option it does not know,\n"
                      "--publish without its folder, --every without a number of seconds, --url that is\n"
                      "not a web address).");
}

} // namespace CommandLine
