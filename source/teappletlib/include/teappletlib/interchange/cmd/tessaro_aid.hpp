#pragma once

#include "iso7816/interchange/aid.hpp"

namespace teappletlib::interchange::cmd {

// The card applet: A0 00 00 00 63 followed by the text PKCS-15. Each file that uses it keeps its
// own copy, so no static initialisation order across files is involved.
static iso7816::interchange::Aid const TessaroAid{
    {0xA0, 0x00, 0x00, 0x00, 0x63, 0x50, 0x4B, 0x43, 0x53, 0x2D, 0x31, 0x35}};

}  // namespace teappletlib::interchange::cmd
