#pragma once
// The temporary performance on one page: its name, effect source, tempo and
// key range switch, the chorus, reverb and multi-effect settings, and a
// strip per part with receive switch and channel, patch group and number
// (with the patch's name where the editor knows it), level, pan, tuning,
// output and sends, the receive switches, key range and voice reserve.
// Every edit is one data set to the performance (01 00 ..); the voices the
// parts reserve never add up to more than the unit has.

#include "editors/parameterscreen.h"

#include <QHash>
#include <QString>
#include <array>
#include <cstdint>
#include <vector>

class EditState;
class EditorHost;
class QLabel;
class QLineEdit;
class SysexProtocol;
class TFocusComboBox;
class TSpincw0R;
struct ParameterDef;

class TPerformanceForm : public ParameterScreen
{
    Q_OBJECT

public:
    static constexpr int PartCount = 16;
    static constexpr int RhythmPart = 10;
    static constexpr int RhythmSetCount = 2;
    static constexpr int PerformancePlaces = 32;

    TPerformanceForm(EditState &state, SysexProtocol &protocol, EditorHost &host,
                     QWidget *parent = nullptr);

    void refresh() override;

    // The control of a common parameter or of part p's strip, by table name.
    QWidget *commonControl(const char *name) const;
    QWidget *partControl(int part, const char *name) const;

    // Handlers, as the controls call them (public for the tests' sake).
    void commonEdited(int row);
    void partEdited(int part, int row);
    void EPerfNameChange();

private:
    // Building (performanceformlayout.cpp).
    void buildControls();
    QWidget *buildTopBar();
    QWidget *buildChorusPanel();
    QWidget *buildReverbPanel();
    QWidget *buildEffectPanel();
    QWidget *buildPartGrid();
    QWidget *commonPanel(const char *name, const char *title,
                         std::initializer_list<const char *> rows);
    void connectControls();

    // Patch groups as the part strips list them (performancegroups in
    // performanceform.cpp).
    void fillGroupLists();
    int groupRow(int type, int id) const;

    void sendCommon(const ParameterDef &def, int value);
    void sendPart(int part, const ParameterDef &def, int value);
    void reserveEdited(int part);
    void keyRangeEdited(int part, bool upper);
    void showEffectLayout();
    void showVoiceSum();
    void showPatchName(int part);
    void rememberEditedPatchName();

    EditState &state_;
    SysexProtocol &protocol_;
    EditorHost &host_;

    // One control per table row; the common table and each part's strip.
    std::vector<QWidget *> common_;
    std::array<std::vector<QWidget *>, PartCount> parts_{};
    std::array<QLabel *, PartCount> patchNames_{};
    std::array<QLabel *, 12> efxLabels_{};
    std::array<QLabel *, 12> efxValues_{};
    QWidget *effectPanel_ = nullptr;
    QLabel *LVoiceSum = nullptr;
    QLabel *LPerfInfo = nullptr;
    TSpincw0R *SpPerfPlace = nullptr;

    // Group rows: type and ID of each list row.
    struct Group
    {
        int type = 0;
        int id = 0;
        QString name;
        bool fitted = true;
    };
    std::vector<Group> groups_;
    // Names of patches the editor has loaded, by group type, ID and number.
    QHash<quint32, QString> patchNameBook_;
};
