#pragma once
// Wires the program areas into the core: their windows by navigation key and the procedures
// the core calls in them.

void RegistriereBereiche();
