#pragma once
// The starter configuration shipped as Default.VNTX: a 400-480 MHz radio with a few analog and
// digital channels, both zones, two scan lists, contacts, a receive group list and messages.
// data/MakeDefault.cpp writes it; a test checks that the committed file is exactly this.
#include "codeplug/Codeplug.h"

// Fills a zero image with the starter configuration, field numbers stamped as the write session
// stamps them and the file marker set.
void BuildDefaultCodeplug(Codeplug& codeplug);
