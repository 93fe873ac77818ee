#include "forms/CodeplugCheck.h"

#include "forms/CodeplugRules.h"
#include "forms/Sections.h"

std::vector<CheckFinding> CheckCodeplug(const Codeplug& codeplug)
{
    const std::vector<Section> sections = Sections(codeplug);
    std::vector<CheckFinding> findings;
    for (RuleFinding& f : FindRuleProblems(codeplug)) {
        std::string where;
        for (const Section& s : sections) {
            if (s.id == f.section)
                where = f.record == RuleFinding::kWholeTable ? std::string(s.label) : s.recordLabel(f.record);
        }
        findings.push_back({f.error, std::move(where), std::move(f.what), f.section, f.record, f.field});
    }
    return findings;
}
