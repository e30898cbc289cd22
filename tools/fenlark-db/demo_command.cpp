#include "commands.h"
#include "register_maker.h"
#include "tool_text.h"

#include <QFileInfo>

#include <optional>

namespace fenlark::dbtool {

namespace {

struct DemoArguments {
    QString path;
    int households = kDefaultDemoHouseholds;
};

std::optional<int> positiveCount(const QString &text)
{
    bool ok = false;
    const int n = text.toInt(&ok);
    if (!ok || n <= 0 || text.startsWith(u'+'))
        return std::nullopt;
    return n;
}

// FILE [--households N] (also --households=N), in either order; nothing else.
std::optional<DemoArguments> parseDemoArguments(const QStringList &args)
{
    DemoArguments parsed;
    const QString option = QStringLiteral("--households");
    bool havePath = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args.at(i);
        std::optional<int> count;
        if (arg == option) {
            if (++i >= args.size())
                return std::nullopt;
            count = positiveCount(args.at(i));
        } else if (arg.startsWith(option + u'=')) {
            count = positiveCount(arg.mid(option.size() + 1));
        } else if (!arg.startsWith(u'-') && !arg.isEmpty() && !havePath) {
            parsed.path = arg;
            havePath = true;
            continue;
        } else {
            return std::nullopt;
        }
        if (!count)
            return std::nullopt;
        parsed.households = *count;
    }
    if (!havePath)
        return std::nullopt;
    return parsed;
}

int makeDemo(const char *command, const DemoArguments &args)
{
    QString error;
    if (!makeDemoRegister(args.path, args.households, error)) {
        print(stderr, toolText("fenlark-db %1: %2\n").arg(QString::fromLatin1(command), error));
        return 1;
    }
    print(stdout, toolText("made a demo register of %1 households in %2\n").arg(args.households).arg(args.path));
    return 0;
}

} // namespace

int runDemo(const QStringList &args)
{
    const std::optional<DemoArguments> parsed = parseDemoArguments(args);
    if (!parsed) {
        print(stderr, toolText("usage: fenlark-db demo FILE [--households N]   (N a positive whole number)\n"));
        return 2;
    }
    return makeDemo("demo", *parsed);
}

int runDemoIfMissing(const QStringList &args)
{
    if (args.size() != 1 || args.first().isEmpty() || args.first().startsWith(u'-')) {
        print(stderr, toolText("usage: fenlark-db demo-if-missing FILE\n"));
        return 2;
    }
    DemoArguments parsed;
    parsed.path = args.first();
    // Whatever is there may be the user's register: leave it, and say nothing.
    const QFileInfo info(parsed.path);
    if (info.exists() || info.isSymLink())
        return 0;
    return makeDemo("demo-if-missing", parsed);
}

} // namespace fenlark::dbtool
