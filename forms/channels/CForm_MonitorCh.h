#pragma once
// The monitor channel form: up to 16 standby channels taken from the candidate channels, and
// their call settings. What it edits lives in the application's memory for the run only.
#include "forms/channels/MemberGridParts.h"
#include "forms/channels/MonitorRules.h"
#include "forms/FormBase.h"

class QCheckBox;
class QComboBox;

class CForm_MonitorCh : public CFormBase {
    Q_OBJECT
public:
    explicit CForm_MonitorCh(FormContext& context, QWidget* parent = nullptr);

    CMSFlexGrid* CandidateGrid() const { return grids_.available; }
    CMSFlexGrid* MemberGrid() const { return grids_.members; }
    QComboBox* HoldTimeList() const { return holdTime_; }
    QComboBox* PttReplyList() const { return pttReply_; }
    QComboBox* StandbyReplyList() const { return standbyReply_; }
    QCheckBox* ScanBox() const { return scan_; }
    QPushButton* AddButton() const { return grids_.add; }
    QPushButton* RemoveButton() const { return grids_.remove; }

    void OnAdd();
    void OnRemove();

protected:
    void InitialiseControls() override;
    void ShowRecord() override;
    void Commit() override;

private:
    MonitorMemory& Memory() const;
    void SetUpGrid(CMSFlexGrid& grid);
    void FillGrid(CMSFlexGrid& grid, const MonitorMembers& channels);

    QLabel* holdTimeLabel_ = nullptr;
    QComboBox* holdTime_ = nullptr;
    QLabel* pttReplyLabel_ = nullptr;
    QComboBox* pttReply_ = nullptr;
    QLabel* standbyReplyLabel_ = nullptr;
    QComboBox* standbyReply_ = nullptr;
    QCheckBox* scan_ = nullptr;
    MemberGrids grids_;  // the candidates on the left

    MonitorMembers memberList_;
    MonitorMembers candidateList_;
};
