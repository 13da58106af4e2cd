// The component set kept from WRP_Initialize to WRP_Finalize.
#pragma once

namespace quillet {

// Creates a new component set and makes it the current one.
void CreateDataMod();

// Frees the current component set, if any.
void FreeDataMod();

}  // namespace quillet
