#pragma once
// The codeplug every fuzz input starts from: the default one, built once.
#include <memory>

#include "data/DefaultCodeplug.h"

inline Codeplug& StartCodeplug()  // copied by every input, changed by none
{
    static const std::unique_ptr<Codeplug> start = [] {
        auto c = std::make_unique<Codeplug>();
        BuildDefaultCodeplug(*c);
        return c;
    }();
    return *start;
}
