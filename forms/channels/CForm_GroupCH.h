#pragma once
// The zone form: the channels of one zone (the navigation's current zone), chosen from the
// channels of both tables, and the zone's alias.
#include "forms/channels/MemberGridParts.h"

class CForm_GroupCH : public MemberListFormBase {
    Q_OBJECT
public:
    explicit CForm_GroupCH(FormContext& context, QWidget* parent = nullptr);

protected:
    void InitialiseControls() override;
    void ShowRecord() override;
    void Commit() override;
    std::span<std::uint8_t> Record() const override;
};
