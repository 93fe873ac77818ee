#pragma once
// What the analog and digital channel forms share: the record they edit, the Add, Delete and
// Copy commands, and small helpers for their lists and boxes.
#include <cstdint>
#include <span>

#include "forms/channels/ChannelRules.h"
#include "ui/FormBase.h"

class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;

class ChannelFormBase : public CFormBase {
    Q_OBJECT
public:
    ChannelFormBase(CVanticApp& app, FormKind kind, ChannelKind channelKind);

    // The commands of the form's buttons.
    void AddChannelCommand();
    void DeleteChannelCommand();
    void CopyCommand();

protected:
    // The current record, its index bounded to the table.
    std::size_t RecordIndex() const;
    std::span<std::uint8_t> Record();
    std::uint8_t FrequencyRange() const;

    // Controls whose change commits and shows.
    QComboBox* NewList();
    QLineEdit* NewBox(int maxLength);
    QCheckBox* NewCheck();
    QPushButton* NewButton(void (ChannelFormBase::*command)());
    QLabel* NewLabel();

    // Adds "label: control" at (row, column pair) of a grid; the label caption is set later.
    QLabel* AddRow(QGridLayout* grid, int row, int pair, QWidget* control);

    // A stored choice shown in a list (nothing selected when it names no entry), and a list
    // stored back into its byte (the byte kept when nothing is selected).
    static void ShowChoice(QComboBox* list, std::uint32_t stored);
    static void StoreChoice(const QComboBox* list, std::uint8_t& byte);
    static void SetBit(std::uint8_t& byte, std::uint8_t mask, bool on);

    // Fills a list with "OFF" then pattern (section "Tree") formatted with 1 ... count.
    void FillNumberedList(QComboBox* list, int treeKey, std::size_t count);
    // Fills a list from consecutive or listed keys of the form's section.
    void FillKeys(QComboBox* list, std::initializer_list<int> keys);
    static void FillNumbers(QComboBox* list, int first, int last);
    void FillTimeouts(QComboBox* list);

    QString Alias(std::span<const std::uint8_t> record) const;
    static void StoreAlias(const QLineEdit* box, std::span<std::uint8_t> record);

    static QString FrequencyText(std::uint32_t hertz);

private:
    void AfterCountChanged();

    const ChannelKind channelKind_;
};
