#include "cli/clioutput.h"

#include "cli/clicommand.h"
#include "core/sysexmessage.h"

namespace cli {

QString shownName(const QByteArray &name)
{
    constexpr char FirstPrintable = 0x20;
    constexpr char LastPrintable = 0x7E;
    QString text;
    for (const char c : name) {
        if (c >= FirstPrintable && c <= LastPrintable)
            text += QLatin1Char(c);
        else
            text += QStringLiteral("\\x") + sysex::hexByte(std::uint8_t(c));
    }
    return text;
}

int usage(QTextStream &err, const char *command, const QString &error)
{
    err << "tessiva-cli " << command << ": " << error << '\n';
    return ExitUsage;
}

int failure(QTextStream &err, const char *command, const QString &error)
{
    err << "tessiva-cli " << command << ": " << error << '\n';
    return ExitFailure;
}

} // namespace cli
