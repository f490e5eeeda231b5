#include "integra/CustomerFormat.h"

#include "base/TextUtils.h"
#include "integra/HoneywellFile.h"
#include "integra/SamsungFile.h"
#include "integra/SynthesFile.h"

const CustomerFormat& CustomerFormat::samsung() {
    static const SamsungFile format;
    return format;
}

const CustomerFormat& CustomerFormat::synthes() {
    static const SynthesFile format;
    return format;
}

const CustomerFormat& CustomerFormat::honeywell() {
    static const HoneywellFile format;
    return format;
}

const CustomerFormat* CustomerFormat::byName(const std::string& name) {
    for (const CustomerFormat* f : {&samsung(), &synthes(), &honeywell()})
        if (upperAscii(trim(name)) == f->names().customer)
            return f;
    return nullptr;
}
