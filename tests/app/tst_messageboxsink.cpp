#include "app/messageboxsink.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <functional>

namespace {
const QString AppTitle = QStringLiteral("TessivaW99d");

// What the user saw in the box the code under test opened.
struct SeenBox
{
    QString title;
    QString text;
    QMessageBox::StandardButtons buttons;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    bool seen = false;
};

// Waits for the next modal box, notes what it shows and lets act answer it
// with real key or mouse events. Should the answer not end it, the box is
// closed after a while so the test fails instead of hanging.
void answerNextBox(SeenBox &seen, std::function<void(QMessageBox &)> act)
{
    auto *poll = new QTimer(qApp);
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, &seen, act] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        poll->deleteLater();
        poll->stop();
        seen.seen = true;
        seen.title = box->windowTitle();
        seen.text = box->text();
        seen.buttons = box->standardButtons();
        seen.icon = box->icon();
        QPointer<QMessageBox> guard(box);
        act(*box);
        // Only a box the answer did not end gets here: no hurry.
        constexpr int UnansweredAfterMs = 30000;
        QTimer::singleShot(UnansweredAfterMs, qApp, [guard] {
            if (guard)
                guard->done(-1);
        });
    });
    poll->start();
}
} // namespace

class TestMessageBoxSink : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void boxes_data();
    void boxes();
};

void TestMessageBoxSink::boxes_data()
{
    QTest::addColumn<bool>("question");
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("key");    // 0: click the button below instead
    QTest::addColumn<int>("button"); // QMessageBox::StandardButton
    QTest::addColumn<bool>("answer");
    QTest::addColumn<QString>("shownTitle");

    const QString main = QStringLiteral("JV-XP Tessiva [NoName.Pat]");
    QTest::newRow("information") << false << QString() << 0 << int(QMessageBox::Ok) << true
                                 << AppTitle;
    QTest::newRow("yes clicked") << true << main << 0 << int(QMessageBox::Yes) << true << main;
    QTest::newRow("escape cancels") << true << main << int(Qt::Key_Escape) << 0 << false << main;
    QTest::newRow("no title of its own")
        << true << QString() << int(Qt::Key_Return) << 0 << true << AppTitle;
}

void TestMessageBoxSink::boxes()
{
    QFETCH(bool, question);
    QFETCH(QString, title);
    QFETCH(int, key);
    QFETCH(int, button);
    QFETCH(bool, answer);
    QFETCH(QString, shownTitle);

    MessageBoxSink sink;
    SeenBox seen;
    answerNextBox(seen, [key, button](QMessageBox &box) {
        if (key)
            QTest::keyClick(&box, Qt::Key(key));
        else
            QTest::mouseClick(box.button(QMessageBox::StandardButton(button)), Qt::LeftButton);
    });

    // Line breaks are written as in the old texts, with a bare CR.
    const QString text = QStringLiteral(" Patch CHANGED.\r\r Exit ?");
    bool result = true;
    if (question)
        result = sink.Confirm(text, title);
    else
        sink.ShowInfo(text);

    QVERIFY(seen.seen);
    QCOMPARE(result, answer);
    QCOMPARE(seen.title, shownTitle);
    QCOMPARE(seen.text, QStringLiteral(" Patch CHANGED.\n\n Exit ?"));
    QCOMPARE(seen.buttons, question ? QMessageBox::Yes | QMessageBox::Cancel
                                    : QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(seen.icon, question ? QMessageBox::Question : QMessageBox::Information);
}

QTEST_MAIN(TestMessageBoxSink)
#include "tst_messageboxsink.moc"
