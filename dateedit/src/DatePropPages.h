#pragma once
// The property pages of the date control (Styles, Format, Calendar, Info) as classes of the
// library, shown by a container in the runtime's property frame, and the about box. The pages
// read and write the control only through its dispatch interface, by property name.
#include "com/unknown.h"

class QWidget;

namespace lzdate {

HRESULT createStylesPage(IUnknown *outer, REFIID riid, void **ppv);
HRESULT createFormatPage(IUnknown *outer, REFIID riid, void **ppv);
HRESULT createCalendarPage(IUnknown *outer, REFIID riid, void **ppv);
HRESULT createInfoPage(IUnknown *outer, REFIID riid, void **ppv);

// The about box: centred on the screen, modal; returns when it is closed.
void showAboutBox(QWidget *parent);

} // namespace lzdate
