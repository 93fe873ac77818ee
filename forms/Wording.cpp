#include "forms/Wording.h"

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

namespace {

struct Words {
    std::string_view english, chinese;
};

// Whole texts: field and table names, list entries, reasons without values.
constexpr Words kPhrases[] = {
    // tables and blocks
    {"Radio settings", "基本参数"}, {"DMR settings", "DMR 基本功能"}, {"Contacts", "联系人"},
    {"Receive group lists", "接收组列表"}, {"Scan lists", "扫描列表"}, {"Zones", "区域"},
    {"Analog channels", "模拟信道"}, {"Digital channels", "数字信道"}, {"Text messages", "短信"},
    {"Identity record", "身份记录"}, {"Record E2", "E2 记录"}, {"Radio information", "机型信息"},
    {"Programming password", "写频加密"}, {"Further functions", "其他功能"}, {"File marker", "文件标记"},
    {"Contact", "联系人"}, {"Receive group list", "接收组列表"}, {"receive group list", "接收组列表"},
    {"Scan list", "扫描列表"}, {"Zone", "区域"}, {"Analog channel", "模拟信道"}, {"Digital channel", "数字信道"},
    {"Text message", "短信"}, {"Analog Channels", "模拟信道"}, {"Digital Channels", "数字信道"},
    // radio settings
    {"Band", "频段"}, {"Radio alias", "本机别名"}, {"DSP firmware version", "DSP 固件版本"},
    {"MCU firmware version", "MCU 固件版本"}, {"Menu language (list position)", "系统语言（列表位置）"},
    {"Message mode (list position)", "短信模式（列表位置）"}, {"Remote alarm allowed", "远程报警允许"},
    {"Wired PTT", "线控PTT"}, {"Remote monitor (forced off)", "远程监听（强制关闭）"},
    {"Bluetooth mode (forced off)", "蓝牙模式（强制关闭）"}, {"Power-save level", "省电等级"},
    {"Power-save entry time", "省电进入时间"}, {"VOX level", "声控等级"}, {"Remote alarm resend count", "远程报警重发次数"},
    {"Remote alarm interval", "远程报警间隔时间"}, {"Low-battery alarm interval", "低电报警间隔时间"},
    {"Serial debug mode (list position)", "串口调试模式（列表位置）"}, {"Power-on zone", "指定开机区域"},
    {"Radio mute", "对讲机静音"}, {"Key function tone", "按键功能提示音"}, {"Power-on tone", "开机提示音"},
    {"Channel switch tone", "信道切换提示音"}, {"Digital call tone", "数字呼叫提示音"}, {"Analog call tone", "模拟呼叫提示音"},
    {"Transmit inhibit tone", "禁发提示音"}, {"Low-battery alarm tone", "低电报警提示音"},
    {"Message sent tone (forced off)", "短信发送提示音（强制关闭）"},
    {"Message failed tone (forced off)", "短信失败提示音（强制关闭）"},
    {"Message received tone (forced off)", "短信接收提示音（强制关闭）"}, {"Transmit lamp", "发射指示灯"},
    {"Receive lamp", "接收指示灯"}, {"Scan status lamp", "扫描状态指示灯"}, {"Channel switch lamp", "信道切换指示灯"},
    {"Power-on lamp", "开机指示灯"}, {"Call hang lamp", "呼叫挂起指示灯"}, {"K1 short press", "K1 短按"},
    {"K1 long press", "K1 长按"}, {"K2 short press", "K2 短按"}, {"K2 long press", "K2 长按"},
    {"K3 short press", "K3 短按"}, {"K3 long press", "K3 长按"}, {"Long-press time", "长按时间"},
    // DMR settings
    {"Radio ID", "本机 ID"}, {"Group call hang time", "组呼保持时间"}, {"Private call hang time", "个呼保持时间"},
    {"Call confirmation wait time", "呼叫确认等待时间"}, {"Call confirmation retries", "呼叫确认重试次数"},
    {"Message confirmation wait time", "短信确认等待时间"}, {"Message confirmation retries", "短信确认重试次数"},
    {"Voice delay", "语音延时"}, {"Feature ID", "特征 ID"}, {"Voice header frames", "语音头帧数"},
    {"Confirmation preamble frames", "确认前导帧数"}, {"Response preamble frames", "应答前导帧数"},
    // contacts, lists, zones, messages
    {"Contact name", "联系人名称"}, {"Call type", "呼叫类型"}, {"Call ID", "呼叫 ID"}, {"Group list name", "接收组名称"},
    {"Members", "成员"}, {"Scan list alias", "扫描列表别名"}, {"Scan transmit mode", "扫描发射模式"},
    {"Receive dwell time", "接收驻留时间"}, {"Zone alias", "区域别名"}, {"Message text", "短信内容"},
    // channels
    {"Channel alias", "信道别名"}, {"Receive frequency", "接收频率"}, {"Transmit frequency", "发射频率"},
    {"Receive tone", "接收亚音"}, {"Squelch tail elimination", "尾音消除"}, {"Transmit tone", "发射亚音"},
    {"Bandwidth", "带宽"}, {"Transmit power", "发射功率"}, {"Transmit admit", "发射允许"},
    {"Transmit time-out [s]", "发射限时[秒]"}, {"Transmit inhibit recovery", "禁发恢复时间"}, {"Squelch level", "静噪等级"},
    {"Auto scan", "自动扫描"}, {"Receive only", "只收不发"}, {"VOX", "声控"}, {"Receive colour code", "接收色码"},
    {"Transmit colour code", "发射色码"}, {"Time slot", "时隙"}, {"Transmit contact", "发射联系人"},
    {"Direct (TDMA) mode", "直通（TDMA）模式"}, {"Receive and transmit differ", "收发频率不同"}, {"Encryption", "加密"},
    {"Encryption key", "密钥"}, {"Private call confirmation", "个呼确认"}, {"Emergency call indication", "紧急呼叫提示"},
    // the other blocks
    {"Number", "编号"}, {"Serial number", "序列号"}, {"Password protection", "写频加密开关"}, {"Password", "密码"},
    {"Password protection (copy)", "写频加密开关（副本）"}, {"Password (copy)", "密码（副本）"},
    {"Programming date", "写频日期"}, {"Transmit modulation gain", "发射调制增益"}, {"Analog microphone gain", "模拟麦克风增益"},
    {"Digital microphone gain value", "数字麦克风增益值"}, {"Marker", "标记"},
    // list entries
    {"On", "开"}, {"Off", "关"}, {"None", "无"}, {"Low", "低"}, {"High", "高"}, {"Group call", "组呼"},
    {"Private call", "个呼"}, {"All call", "全呼"}, {"Slot 1", "时隙 1"}, {"Slot 2", "时隙 2"}, {"Always", "始终允许"},
    {"Channel free", "信道空闲"}, {"Colour code free", "色码空闲"}, {"CTCSS/DCS match", "亚音匹配"},
    {"CTCSS/DCS mismatch", "亚音不匹配"},
    // findings and problems without values
    {"holds characters the radio cannot show", "含有电台无法显示的字符"}, {"no contact is chosen", "未选择联系人"},
    {"named twice", "重复出现"}, {"no channel in use", "没有使用中的信道"}, {"has no members", "没有成员"},
    {"expected a whole number", "应为整数"}, {"expected a text", "应为文本"}, {"expected true or false", "应为开或关"},
    {"an all call has the ID 16777215", "全呼的 ID 为 16777215"}, {"expected an ID in decimal digits", "应为十进制数字的 ID"},
    {"expected \"None\" or a contact number 1-64", "应为“None”或联系人号 1-64"}, {"expected a list", "应为列表"},
    {"expected A1-A16 (analog) or D1-D16 (digital)", "应为 A1-A16（模拟）或 D1-D16（数字）"},
    {"expected a contact number 1-64", "应为联系人号 1-64"},
    {"expected a frequency in MHz as text, e.g. \"438.500000\"", "应为以 MHz 为单位的频率文本，例如“438.500000”"},
    {"the column appears twice", "该列出现了两次"}, {"more cells than the header has columns", "单元格比表头的列多"},
    {"the file has no header row", "文件没有表头行"}, {"a list holds members 1-16", "一个列表的成员为 1-16"},
    {"a quote inside a cell that does not start with one", "单元格中间出现引号，但该单元格不是以引号开头"},
    {"text after the closing quote of a cell", "单元格的结束引号后还有文字"}, {"a quoted cell is not closed", "带引号的单元格没有结束"},
    {"expected an object", "应为对象"}, {"missing", "缺少"}, {"expected count, records or unused", "应为 count、records 或 unused"},
    {"expected a list of records", "应为记录列表"}, {"not a part of a codeplug", "不是写频数据的一部分"},
    {"expected a JSON object", "应为 JSON 对象"}, {"the key must be a byte offset", "键必须是字节偏移"},
    {"expected hex bytes", "应为十六进制字节"}, {"not a record past the count", "不是数量之后的记录"},
    // other programs' files
    {"analog channels", "模拟信道"}, {"digital channels", "数字信道"}, {"contacts", "联系人"}, {"zones", "区域"},
    {"receive group lists", "接收组列表"}, {"scan lists", "扫描列表"}, {"not chosen", "未选择"},
    {"none of its members is imported", "其成员均未导入"}, {"the radio holds one DMR radio ID", "电台只有一个 DMR 本机 ID"},
    {"the offset is larger than the frequency", "频差大于频率"},
    {"cells past the header's columns are left out", "超出表头列数的单元格未导入"},
    {"scan list 1 is full: the channel is not one of its members", "扫描列表 1 已满：该信道未加入"},
};

// Texts with values: "{}" stands for a value worded in turn, "{#}" for digits; in the Chinese
// text "{1}", "{2}" … place them.
constexpr Words kPatterns[] = {
    {"Analog channel {#}", "模拟信道 {1}"}, {"Digital channel {#}", "数字信道 {1}"}, {"Zone {#}", "区域 {1}"},
    {"Scan list {#}", "扫描列表 {1}"}, {"Contact {#}", "联系人 {1}"}, {"Receive group list {#}", "接收组列表 {1}"},
    {"Text message {#}", "短信 {1}"}, {"One-touch call {#}", "一键呼叫 {1}"},
    {"holds invalid ({})", "值无效（{1}）"}, {"invalid ({})", "无效（{1}）"}, {"type {}, index {}", "类型 {1}，序号 {2}"},
    {"kind {}, index {}", "类型 {1}，序号 {2}"}, {"kind {}", "类型 {1}"}, {"{} is not a decimal ID", "{1} 不是十进制 ID"},
    {"the length byte says {}, the field holds {} bytes", "长度字节为 {1}，但字段只有 {2} 个字节"},
    {"longer than {} characters", "超过 {1} 个字符"},
    {"needs {} bytes of the {}-byte name field (some characters take 3 bytes)",
     "需要 {1} 个字节，但名称字段只有 {2} 个字节（有些字符占 3 个字节）"},
    {"{} MHz is outside the band {} MHz", "{1} MHz 超出频段 {2} MHz"}, {"{} is outside {}", "{1} 超出范围 {2}"},
    {"{} is not a step of {}", "{1} 不是 {2} 的整数倍"}, {"list {} is outside 1-{}", "列表 {1} 超出范围 1-{2}"},
    {"list {} does not exist ({} in use)", "列表 {1} 不存在（使用中的有 {2} 个）"},
    {"contact {} does not exist ({} in use)", "联系人 {1} 不存在（使用中的有 {2} 个）"},
    {"contact {} is an all call, which a one-touch call cannot name", "联系人 {1} 是全呼，一键呼叫不能使用全呼"},
    {"contact {} is not a group call; only group calls can be members", "联系人 {1} 不是组呼，只有组呼可以作为成员"},
    {"contact {} is a member twice", "联系人 {1} 重复成为成员"},
    {"member count {} is above the {} places", "成员数 {1} 超过 {2} 个位置"}, {"member {#}: {}", "成员 {1}：{2}"},
    {"unknown channel kind {}", "未知的信道类型 {1}"}, {"{} is not a channel in use", "{1} 不是使用中的信道"},
    {"{} is {}, but with the other settings the forms store {}", "{1}为{2}，但按其他设置应为{3}"},
    {"{} is not set", "{1} 未设置"}, {"count {} is above the table of {}", "数量 {1} 超过表格容量 {2}"},
    {"a second all call (contact {} is one)", "第二个全呼（联系人 {1} 已是全呼）"},
    {"the same ID {} as contact {}", "与联系人 {2} 的 ID {1} 相同"},
    {"\"{}\" is not a frequency in MHz (three digits, a point and up to six decimals)",
     "“{1}”不是以 MHz 为单位的频率（三位整数、小数点和最多六位小数）"},
    {"\"{}\" is not a tone (None, a CTCSS frequency such as 67.0, or a DCS code such as D023N)",
     "“{1}”不是亚音（None、CTCSS 频率如 67.0，或 DCS 码如 D023N）"},
    {"expected one of {}", "应为以下之一：{1}"}, {"expected \"Off\" or a list number 1-{}", "应为“Off”或列表号 1-{1}"},
    {"more than {} members", "超过 {1} 个成员"}, {"\"{}\" is not a key function code", "“{1}”不是按键功能代码"},
    {"{} does not fit its field", "{1} 超出字段范围"}, {"not a column of the {} table", "不是{1}表格的列"},
    {"{} rows; the {} table holds {}", "{1} 行；{2}表格可容纳 {3} 行"},
    {"\"{}\" is not a record of the table (1-{}, or blank for a new one)", "“{1}”不是表格中的记录（1-{2}，新记录留空）"},
    {"\"{}\" is not a list of the table (1-{}, or blank for a new one)", "“{1}”不是表格中的列表（1-{2}，新列表留空）"},
    {"record {} is listed twice", "记录 {1} 出现了两次"}, {"list {} is listed twice", "列表 {1} 出现了两次"},
    {"\"{}\" is not a contact number", "“{1}”不是联系人号"},
    {"the table has no \"No.\" column: it ties each row to its record, so that what refers to the record (zones, scan "
     "lists, receive group lists, one-touch calls, channels' contacts and lists) follows it. Export the {} table again "
     "and keep that column (blank for a new record)",
     "表格没有“No.”列：这一列把每一行对应到它的记录，引用该记录的地方（区域、扫描列表、接收组列表、一键呼叫、信道的联系人和列表）"
     "才能随之更新。请重新导出{1}表格并保留这一列（新记录留空）"},
    {"no field of this name in a {} record", "{1}记录中没有这个字段"},
    {"expected a count from 0 to the {} records of the table", "数量应为 0 到表格的 {1} 条记录"},
    {"{} records listed, but the count says {} (change count with the records)", "列出 {1} 条记录，但数量为 {2}（请同时修改数量和记录）"},
    {"{} records listed, but the count says {}", "列出 {1} 条记录，但数量为 {2}"},
    {"runs past the record's {} bytes", "超出记录的 {1} 个字节"}, {"byte {} belongs to a named field", "字节 {1} 属于已命名的字段"},
    {"expected {} hex bytes", "应为 {1} 个十六进制字节"}, {"expected at most {} hex bytes", "最多应为 {1} 个十六进制字节"},
    // other programs' files
    {"over capacity: the radio holds {#} {}", "超出容量：电台最多容纳 {1} 个{2}"},
    {"the same call and ID as contact {#}, which is used", "与联系人 {1} 的呼叫类型和 ID 相同，改用该联系人"},
    {"the radio holds one all call: contact {#} is used", "电台只能有一个全呼：改用联系人 {1}"},
    {"the radio holds one DMR ID: {} is used", "电台只有一个 DMR ID：使用 {1}"},
    {"mode {}: the radio stores FM and NFM channels only", "模式 {1}：电台只能存储 FM 和 NFM 信道"},
    {"{} channel: the radio stores FM and DMR channels only", "{1} 信道：电台只能存储 FM 和 DMR 信道"},
    {"{} contact: the radio holds DMR contacts only", "{1} 联系人：电台只能存储 DMR 联系人"},
    {"{} \"{}\" is not a frequency in MHz", "{1}“{2}”不是以 MHz 为单位的频率"},
    {"{} \"{}\" is not a CTCSS tone the radio has", "{1}“{2}”不是电台支持的 CTCSS 亚音"},
    {"{} \"{}\" is not a DCS code the radio has", "{1}“{2}”不是电台支持的 DCS 码"},
    {"tone {} is not a tone the radio has", "亚音 {1} 不是电台支持的亚音"},
    {"ID \"{}\" is not a DMR ID (1-16776415)", "ID“{1}”不是 DMR ID（1-16776415）"},
    {"{} MHz stored as {} MHz (the channel raster)", "{1} MHz 按信道步进存为 {2} MHz"},
    {"columns the radio has no place for: {}", "电台无处存放的列：{1}"},
    {"{}: left out (the radio has no place for it)", "{1}：未导入（电台无处存放）"},
    {"member {} is not imported", "成员 {1} 未导入"},
    {"name \"{}\" cut to {#} characters: \"{}\"", "名称“{1}”截为 {2} 个字符：“{3}”"},
};

bool AllDigits(std::string_view s)
{
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The values a pattern finds in a text, or nothing when the text does not have its shape.
std::optional<std::vector<std::string>> Match(std::string_view pattern, std::string_view text)
{
    std::vector<std::string_view> fixed;
    std::vector<bool> digitsOnly;
    for (std::size_t at = 0;;) {
        const std::size_t open = pattern.find('{', at);
        if (open == std::string_view::npos) {
            fixed.push_back(pattern.substr(at));
            break;
        }
        const std::size_t close = pattern.find('}', open);
        fixed.push_back(pattern.substr(at, open - at));
        digitsOnly.push_back(pattern.substr(open, close - open + 1) == "{#}");
        at = close + 1;
    }
    if (!text.starts_with(fixed.front()) || text.size() < fixed.front().size() + fixed.back().size() ||
        !text.ends_with(fixed.back()))
        return std::nullopt;
    std::vector<std::string> values;
    std::size_t at = fixed.front().size();
    const std::size_t end = text.size() - fixed.back().size();
    for (std::size_t i = 1; i < fixed.size(); ++i) {
        const bool last = i + 1 == fixed.size();
        const std::size_t next = last ? end : text.find(fixed[i], at);
        if (next == std::string_view::npos || next > end || next <= at)
            return std::nullopt;
        const std::string_view value = text.substr(at, next - at);
        if (digitsOnly[i - 1] && !AllDigits(value))
            return std::nullopt;
        values.emplace_back(value);
        at = next + fixed[i].size();
    }
    return values;
}

std::string Fill(std::string_view pattern, const std::vector<std::string>& values)
{
    std::string out;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '{' && i + 2 < pattern.size() && pattern[i + 2] == '}' && pattern[i + 1] >= '1' &&
            pattern[i + 1] <= '9') {
            const std::size_t n = static_cast<std::size_t>(pattern[i + 1] - '1');
            out += n < values.size() ? values[n] : std::string();
            i += 2;
        } else {
            out += pattern[i];
        }
    }
    return out;
}

std::string Chinese(std::string_view text, int depth)
{
    if (depth > 8)
        return std::string(text);
    for (const Words& w : kPhrases) {
        if (w.english == text)
            return std::string(w.chinese);
    }
    for (const Words& w : kPatterns) {
        if (auto values = Match(w.english, text)) {
            for (std::string& v : *values)
                v = Chinese(v, depth + 1);
            return Fill(w.chinese, *values);
        }
    }
    if (const std::size_t colon = text.find(": "); colon != std::string_view::npos)
        return Chinese(text.substr(0, colon), depth + 1) + "：" + Chinese(text.substr(colon + 2), depth + 1);
    return std::string(text);
}

}  // namespace

std::string InLanguage(std::string_view english, UiLanguage language)
{
    if (language != UiLanguage::Chinese)
        return std::string(english);
    return Chinese(english, 0);
}
