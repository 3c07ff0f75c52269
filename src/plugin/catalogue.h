#pragma once

// One add-action call per row of the action table, in order (nbRegisterPlugIn).
void RegisterCatalogue();
