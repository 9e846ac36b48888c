// Hosts each control in a container window, sets one property and reads it back. Prints what it
// read; any failure ends the program with a message and exit code 1.
#include "LzDateEdit.h"
#include "LzNavrail.h"

#include "com/variant.h"
#include "ole/container.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

namespace {

void check(bool ok, const char *what)
{
    if (!ok) {
        std::fprintf(stderr, "controlhost: %s\n", what);
        std::exit(1);
    }
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);

    ole::ControlContainer date;
    check(date.createControl(CLSID_LzDate2) == S_OK, "LzDate2 not created");
    check(date.setProperty(DISPID_LD_DateFormat, com::Variant::i2(lzdDdmmyyyy)) == S_OK, "DateFormat not set");
    com::Variant format;
    check(date.getProperty(DISPID_LD_DateFormat, &format) == S_OK, "DateFormat not read");
    check(format.vt == VT_I2 && format.iVal == lzdDdmmyyyy, "DateFormat read back wrong");

    ole::ControlContainer bar;
    check(bar.createControl(CLSID_LzNavrailBar) == S_OK, "LzNavrailBar not created");
    const com::ComPtr<ILzNavrailBar> navrail = bar.control<ILzNavrailBar>();
    check(bool(navrail), "no ILzNavrailBar");
    check(navrail->put_SplitterWidth(9) == S_OK, "SplitterWidth not set");
    SHORT width = 0;
    check(navrail->get_SplitterWidth(&width) == S_OK && width == 9, "SplitterWidth read back wrong");

    std::printf("DateFormat=%d SplitterWidth=%d\n", int(format.iVal), int(width));
    date.destroyControl();
    bar.destroyControl();
    return 0;
}
