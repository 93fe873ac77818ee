#pragma once
// What the analog and digital channel forms share: the record they edit, the Add, Delete and
// Copy commands, the captions and layout of their controls, and small helpers for their lists
// and boxes.
#include <cstdint>
#include <initializer_list>
#include <span>
#include <utility>
#include <vector>

#include <QCheckBox>

#include "forms/channels/ChannelRules.h"
#include "forms/FormBase.h"

class QComboBox;
class QGridLayout;
class QHBoxLayout;
class QLabel;
class QLayout;
class QLineEdit;
class QPushButton;

// Keys of section "CH_Str" both channel forms use.
namespace ChannelKey {
constexpr int Alias = 1, RxFrequency = 2, TxFrequency = 4, Power = 7, Timeout = 10, Recovery = 11, Permission = 13,
              ScanList = 14, AutoScan = 15, Vox = 18, ReceiveOnly = 19;
}  // namespace ChannelKey

// A list that shows a bit field of one record byte (mask 0xFF: the whole byte), and a check box
// that shows one bit; each form lists its own once, for showing and for storing.
template <typename Controls>
struct ChannelListField { QComboBox* Controls::*list; std::size_t offset; std::uint8_t mask = 0xFF; unsigned shift = 0; };
template <typename Controls>
struct ChannelCheckField { QCheckBox* Controls::*box; std::size_t offset; std::uint8_t mask; };

class ChannelFormBase : public CFormBase {
    Q_OBJECT
public:
    ChannelFormBase(FormContext& context, FormKind kind, ChannelKind channelKind);

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

    // The Add, Delete and Copy buttons, each running its command.
    void NewRecordButtons(QPushButton*& add, QPushButton*& remove, QPushButton*& copy);

    // A widget whose caption (label or button text, group title) is the form's text `key`;
    // SetCaptions gives every one its text.
    void AddCaption(QWidget* widget, int key);
    void SetCaptions();
    QLabel* NewCaptionLabel(int key);

    // The grid of the channel settings: two columns of "label: control" rows, a gap between.
    using CaptionedControls = std::initializer_list<std::pair<QWidget*, int>>;
    QGridLayout* NewPairGrid(CaptionedControls left, CaptionedControls right);
    // The row of the Add, Delete and Copy buttons, captioned.
    QHBoxLayout* RecordButtonRow(QPushButton* add, QPushButton* remove, QPushButton* copy);
    // The form's page: the parts from top to bottom, the rest of the height left empty.
    void LayOutPage(std::initializer_list<QLayout*> parts);

    // The alias and the two frequencies of the record, shown in and stored from their boxes.
    void ShowNameAndFrequencies(std::span<const std::uint8_t> record, QLineEdit* alias, QLineEdit* rx,
                                QLineEdit* tx) const;
    void StoreNameAndFrequencies(std::span<std::uint8_t> record, const QLineEdit* alias, const QLineEdit* rx,
                                 const QLineEdit* tx) const;

    // A stored choice (the bits of `mask` in a byte) shown in a list, nothing selected when it
    // names no entry; and a list stored back into those bits, the byte kept when nothing is
    // selected.
    static void ShowChoice(QComboBox* list, std::uint8_t byte, std::uint8_t mask = 0xFF, unsigned shift = 0);
    static void StoreChoice(const QComboBox* list, std::uint8_t& byte, std::uint8_t mask = 0xFF, unsigned shift = 0);
    static void SetBit(std::uint8_t& byte, std::uint8_t mask, bool on);

    // Every list and check box of a form's field tables, shown from and stored into the record.
    template <typename C, std::size_t L, std::size_t K>
    static void ShowFields(const C& c, std::span<const std::uint8_t> record, const ChannelListField<C> (&lists)[L],
                           const ChannelCheckField<C> (&checks)[K])
    {
        for (const auto& f : lists)
            ShowChoice(c.*f.list, record[f.offset], f.mask, f.shift);
        for (const auto& f : checks)
            (c.*f.box)->setChecked((record[f.offset] & f.mask) != 0);
    }
    template <typename C, std::size_t L, std::size_t K>
    static void StoreFields(const C& c, std::span<std::uint8_t> record, const ChannelListField<C> (&lists)[L],
                            const ChannelCheckField<C> (&checks)[K])
    {
        for (const auto& f : lists)
            StoreChoice(c.*f.list, record[f.offset], f.mask, f.shift);
        for (const auto& f : checks)
            SetBit(record[f.offset], f.mask, (c.*f.box)->isChecked());
    }

    // Fills a list with "OFF" then pattern (section "Tree") formatted with 1 ... count.
    void FillNumberedList(QComboBox* list, int treeKey, std::size_t count);
    // Fills a list from consecutive or listed keys of the form's section.
    void FillKeys(QComboBox* list, std::initializer_list<int> keys);
    static void FillNumbers(QComboBox* list, int first, int last);
    void FillTimeouts(QComboBox* list);

private:
    struct Caption {
        QWidget* widget;
        int key;
    };

    void AfterCountChanged();

    const ChannelKind channelKind_;
    std::vector<Caption> captions_;
};
