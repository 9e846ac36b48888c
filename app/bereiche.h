#pragma once
// Wires the program areas into the core through its plug-in points (core/plugins.h): their
// windows by navigation key and the procedures the core calls in them.

void RegistriereBereiche();
