#pragma once
// The sink tests and windowless tools use: it keeps every text it was given
// and answers questions from a preset value.

#include "core/infosink.h"

#include <QStringList>

// Records every message and answers confirmations with a preset value.
class RecordingInfoSink : public InfoSink
{
public:
    void ShowInfo(const QString &text) override { messages.append(text); }
    bool Confirm(const QString &text, const QString &title) override
    {
        questions.append(title + QLatin1Char('|') + text);
        return answer;
    }
    QStringList messages;
    QStringList questions;
    bool answer = true;
};
