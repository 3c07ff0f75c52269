#pragma once
#include <cstdint>

// nbEditAction's body: the modal parameter dialog; true when the user confirmed.
bool RunActionEditor(int32_t id, char** params, int32_t highIndex);
