#pragma once
// The frame every tone screen is built on (filter and amplifier, pitch, LFO,
// controllers): the tone selector SpT1..SpT4 bound to CurrentTone, the tone
// switches SpBTOn1..SpBTOn4 that drive the main window's tone boxes one tone
// at a time, Copy and Paste of the screen's own range of tone offsets through
// the shared section buffer, the Release button, and reloading on showing,
// activation and the main window's refresh. A screen derives from it, passes
// its Setup, places topBar() in its layout and implements loadTone().

#include <QString>
#include <QWidget>
#include <array>
#include <cstdint>

class EditState;
class EditorHost;
class QAbstractButton;
class QButtonGroup;
class QHBoxLayout;
class QLabel;
class QToolButton;
class SysexProtocol;

class ToneEditorForm : public QWidget
{
    Q_OBJECT

public:
    // Where the tone-switch buttons take their state from.
    enum class SwitchSource
    {
        MainWindow, // the main window's tone boxes
        PatchImage, // byte 00h of each tone slot
    };

    struct Setup
    {
        int copyFirst = 0; // the tone offsets Copy and Paste carry
        int copyLast = 0;
        QString copyName = QStringLiteral("SpCopy");
        QString pasteName = QStringLiteral("SpPaste");
        QString bufferLabelName = QStringLiteral("Lbuff");
        QString bufferPrefix = QStringLiteral("Buff = ");
        SwitchSource switches = SwitchSource::MainWindow;
        // Whether the main window's refresh sets the tone switches too.
        bool refreshSetsSwitches = true;
    };

    static constexpr int NoteOn = 0x90;

    // Cuts the children's signals before they are destroyed: a focused
    // spin reports its exit while it goes, and the screen it would reach is
    // already half gone by then.
    ~ToneEditorForm() override;

    // The main window's refresh after new data: tone buttons (as Setup says)
    // and every control for tone, under one load scope.
    void refreshTone(int tone);
    // Showing or activation: tone buttons and controls for CurrentTone.
    void reload();

    // Puts down the select button of tone (1..4; others leave the buttons)
    // and sets each tone-switch button from its source.
    void UpdateTones(int tone);
    // The tone-select buttons' click.
    void selectTone(int tone);
    // A tone-switch button's click: that tone only.
    void toneSwitchClick(int tone);
    void CopyClick();
    // Does nothing until this screen's range was copied.
    void PasteClick();
    // Ends a held test note on the channel it was played on.
    void Release();

    // CurrentTone, taken as 1 when it names no tone.
    int currentTone() const;
    const Setup &setup() const { return setup_; }

protected:
    ToneEditorForm(const Setup &setup, EditState &state, SysexProtocol &protocol, EditorHost &host,
                   QWidget *parent = nullptr);

    // Loads every control from the tone's slot; runs inside a load scope.
    virtual void loadTone(int tone) = 0;
    // After a select button set CurrentTone, before the controls load.
    virtual void toneSelected(int tone) { Q_UNUSED(tone) }

    // One byte to offset of CurrentTone, unless it equals the stored byte.
    bool sendTone(int offset, int value);
    // The top bar (PTopBar) with its buttons; screens add their own at the end.
    QWidget *topBar() const { return topBar_; }
    QHBoxLayout *topBarLayout() const { return topBarLayout_; }
    QAbstractButton *makeReleaseButton(const QString &name, const QString &caption,
                                       QWidget *parent);

    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;

    EditState &state_;
    SysexProtocol &protocol_;
    EditorHost &host_;

private:
    void buildTopBar();
    void loadControls(int tone);
    void showBufferState();

    Setup setup_;
    QWidget *topBar_ = nullptr;
    QHBoxLayout *topBarLayout_ = nullptr;
    QButtonGroup *selectGroup_ = nullptr;
    std::array<QToolButton *, 4> select_{};
    std::array<QToolButton *, 4> switches_{};
    QLabel *bufferLabel_ = nullptr;
    bool wasActive_ = false;
};
