#pragma once
// What the two emergency alarm forms share: a framed column of captioned lists, the step bar
// below it with its first/previous/next/last, Add and Delete, and the numbered window title.
#include <QStringList>

#include "forms/dmr/AlarmRules.h"
#include "forms/FormBase.h"

class AlarmStepBar;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QLabel;

class AlarmFormBase : public CFormBase {
    Q_OBJECT
public:
    AlarmStepBar* Buttons() const { return buttons_; }

protected:
    AlarmFormBase(FormContext& context, FormKind kind, const char* textSection, QWidget* parent);

    // The frame of the lists; its grid has the captions in column 0 and the lists in column 1.
    QGroupBox* Box() const { return box_; }
    QGridLayout* Grid() const { return grid_; }

    // A caption and a list whose change commits and shows, on grid row `row`; a list that is
    // not `shown` stays on the form, hidden.
    void NewListRow(int row, QLabel*& label, QComboBox*& list, bool shown = true);

    // Adds the step bar under the frame. Called after every other control is made, so that the
    // buttons come last in the tab order. `table` names the systems the buttons walk and change.
    template <typename Table>
    void AddStepBar(Table emergency::AlarmTables::*table);

    // The captions of Add and Delete (keys 20 and 21 of either form's section).
    void SetStepBarTexts();

    // "<title> n" for the current system, from the form's key `titleKey`.
    void ShowNumberedTitle(int titleKey);

    static QStringList Numbers(int first, int last, int step = 1);

private:
    QGroupBox* box_ = nullptr;
    QGridLayout* grid_ = nullptr;
    AlarmStepBar* buttons_ = nullptr;
};
