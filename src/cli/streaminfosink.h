#pragma once
// Messages meant for a box, on stderr on one line, for the commands that run
// the editor's transfer code.

#include "core/infosink.h"

#include <QString>
#include <QTextStream>

namespace cli {

class StreamInfoSink : public InfoSink
{
public:
    StreamInfoSink(QTextStream &err, const char *command) : err_(err), command_(command) {}
    void ShowInfo(const QString &text) override
    {
        err_ << command_ << ": " << QString(text).replace(QLatin1Char('\r'), QLatin1Char(' '))
             << '\n';
    }
    bool Confirm(const QString &, const QString &) override { return false; }

private:
    QTextStream &err_;
    const char *command_;
};

} // namespace cli
