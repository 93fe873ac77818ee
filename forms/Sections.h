#pragma once
// The codeplug seen as sections for export, import, diff and check: each block or table with its
// record schema, in file order. Every byte of the image belongs to exactly one section (the count
// blocks belong to their tables).
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "codeplug/Codeplug.h"
#include "forms/FieldSchema.h"

struct Section {
    std::string_view id;     // JSON key: "analogChannels"
    std::string_view label;  // "Analog channels"
    const RecordSchema* schema = nullptr;
    bool table = false;
    std::span<std::uint8_t> bytes;  // the whole block or table
    std::size_t capacity = 1;       // records (1 for a block)
    std::span<std::uint8_t> count;  // the count block (1 or 4 bytes); empty: every record is in use

    std::span<std::uint8_t> record(std::size_t i) const { return bytes.subspan(i * schema->bytes, schema->bytes); }
    std::uint32_t storedCount() const;
    void setCount(std::uint32_t value) const;
    // Records in use: the stored count bounded to the table.
    std::size_t used() const;
    // "Analog channel 3", "Radio settings".
    std::string recordLabel(std::size_t i) const;
};

// The sections of an image. The const form is for reading only.
std::vector<Section> Sections(Codeplug& codeplug);
std::vector<Section> Sections(const Codeplug& codeplug);

// What judging a field needs from the image: its band byte and the records references name.
FieldContext ContextOf(const Codeplug& codeplug);
