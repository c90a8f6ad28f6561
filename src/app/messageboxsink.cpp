#include "app/messageboxsink.h"

#include "app/application.h"

#include <QApplication>
#include <QMessageBox>

QString MessageBoxSink::displayText(const QString &text)
{
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

QString MessageBoxSink::boxTitle(const QString &title)
{
    return title.isEmpty() ? QString::fromLatin1(Application::Title) : title;
}

void MessageBoxSink::ShowInfo(const QString &text)
{
    QMessageBox box(QMessageBox::Information, boxTitle(QString()), displayText(text),
                    QMessageBox::Ok, QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

bool MessageBoxSink::Confirm(const QString &text, const QString &title)
{
    QMessageBox box(QMessageBox::Question, boxTitle(title), displayText(text),
                    QMessageBox::Yes | QMessageBox::Cancel, QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);
    return box.exec() == QMessageBox::Yes;
}
