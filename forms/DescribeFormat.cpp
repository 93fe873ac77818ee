#include "forms/DescribeFormat.h"

#include <cstdio>

#include <nlohmann/json.hpp>

namespace {

// Length of the valid UTF-8 sequence at the start of text, or 0 when it is not one.
std::size_t ValidUtf8Length(std::string_view text)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80)
        return 1;
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;  // allowed range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0;  // no overlong forms
        if (lead == 0xED)
            high = 0x9F;  // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;
        if (lead == 0xF4)
            high = 0x8F;  // nothing above U+10FFFF
    } else {
        return 0;
    }
    if (text.size() < length || byte(1) < low || byte(1) > high)
        return 0;
    for (std::size_t i = 2; i < length; ++i) {
        if (byte(i) < 0x80 || byte(i) > 0xBF)
            return 0;
    }
    return length;
}

std::string Escape(unsigned char c)
{
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
    return buffer;
}

void AppendShown(std::string& out, std::string_view text)
{
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x20 || c == 0x7F) {
            char buffer[8];
            std::snprintf(buffer, sizeof buffer, "\\x%02X", c);
            out += buffer;
        } else {
            out += ch;
        }
    }
}

void Line(std::string& out, int depth, const DescNode& node, std::string_view value)
{
    out.append(static_cast<std::size_t>(depth) * 2, ' ');
    AppendShown(out, node.label);
    out += ": ";
    AppendShown(out, value);
    out += '\n';
}

void Text(const DescNode& node, int depth, std::string& out)
{
    if (node.hiddenInText)
        return;
    switch (node.kind) {
    case DescNode::Kind::Object:
    case DescNode::Kind::Array: {
        if (node.flatInText) {
            for (const DescNode& child : node.children)
                Text(child, depth, out);
            return;
        }
        out.append(static_cast<std::size_t>(depth) * 2, ' ');
        AppendShown(out, node.label);
        if (!node.note.empty()) {
            out += " (";
            AppendShown(out, node.note);
            out += ')';
        }
        if (node.children.empty()) {
            out += node.kind == DescNode::Kind::Array ? ": none\n" : ": -\n";
            return;
        }
        out += ":\n";
        for (const DescNode& child : node.children)
            Text(child, depth + 1, out);
        return;
    }
    case DescNode::Kind::Text:
    case DescNode::Kind::Number: Line(out, depth, node, node.text); return;
    case DescNode::Kind::Flag: Line(out, depth, node, node.flag ? "yes" : "no"); return;
    }
}

nlohmann::ordered_json Json(const DescNode& node)
{
    switch (node.kind) {
    case DescNode::Kind::Object: {
        nlohmann::ordered_json object = nlohmann::ordered_json::object();
        for (const DescNode& child : node.children)
            object[child.id.empty() ? child.label : child.id] = Json(child);
        return object;
    }
    case DescNode::Kind::Array: {
        nlohmann::ordered_json array = nlohmann::ordered_json::array();
        for (const DescNode& child : node.children)
            array.push_back(Json(child));
        return array;
    }
    case DescNode::Kind::Text: return node.text;
    case DescNode::Kind::Number: {
        const auto parsed = nlohmann::ordered_json::parse(node.text.empty() ? "0" : node.text, nullptr, false);
        return parsed.is_number() ? parsed : nlohmann::ordered_json(node.text);
    }
    case DescNode::Kind::Flag: return node.flag;
    }
    return nullptr;
}

void AppendQuoted(std::string& out, std::string_view text)
{
    out += '"';
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        switch (c) {
        case '"': out += "\\\""; ++i; continue;
        case '\\': out += "\\\\"; ++i; continue;
        case '\b': out += "\\b"; ++i; continue;
        case '\f': out += "\\f"; ++i; continue;
        case '\n': out += "\\n"; ++i; continue;
        case '\r': out += "\\r"; ++i; continue;
        case '\t': out += "\\t"; ++i; continue;
        default: break;
        }
        if (c < 0x20) {
            out += Escape(c);
            ++i;
            continue;
        }
        const std::size_t length = ValidUtf8Length(text.substr(i));
        if (length == 0) {
            out += "\\ufffd";
            ++i;
            continue;
        }
        out.append(text.substr(i, length));
        i += length;
    }
    out += '"';
}

}  // namespace

std::string JsonQuote(std::string_view text)
{
    std::string out;
    AppendQuoted(out, text);
    return out;
}

std::string FormatText(const DescNode& root)
{
    std::string out;
    if (root.kind == DescNode::Kind::Object || root.kind == DescNode::Kind::Array) {
        for (const DescNode& child : root.children)
            Text(child, 0, out);
    } else {
        Text(root, 0, out);
    }
    return out;
}

std::string FormatJson(const DescNode& root)
{
    return Json(root).dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}
