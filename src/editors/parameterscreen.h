#pragma once
// What the windows built from a parameter table share: framed panels of
// captioned controls, their buttons, and reloading from the buffers each
// time they are shown or come back to the front, since other screens and
// the synthesizer may have changed the bytes meanwhile.

#include <QList>
#include <QString>
#include <QWidget>
#include <utility>

class QFrame;
class QLabel;
class QPushButton;

class ParameterScreen : public QWidget
{
    Q_OBJECT

public:
    // Loads every control from the buffers, sending nothing.
    virtual void refresh() = 0;

protected:
    explicit ParameterScreen(QWidget *parent);

    static QFrame *panel(QWidget *parent, const char *name);
    static QLabel *heading(const QString &text, QWidget *parent);
    static QPushButton *button(const char *text, const char *name, const char *hint,
                               QWidget *parent);
    // A panel titled title: each caption over its control, so many columns
    // to a row; a null control leaves its cell empty. A check box carries
    // its caption itself.
    QFrame *captionedPanel(const char *name, const char *title,
                           const QList<std::pair<QString, QWidget *>> &controls, int columns);

    // The window went to the background (a held note may want ending).
    virtual void deactivated() {}

    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    bool wasActive_ = false;
};
