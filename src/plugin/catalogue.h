#pragma once
#include <cstdint>
#include <vector>

struct CatalogueEntry {
  int32_t id;  // 0 for a group header
  const char* name;
  const char* hint;
  std::vector<uint8_t> types;  // a header carries one byte 0
  int32_t count;
};

const std::vector<CatalogueEntry>& ActionCatalogue();
int32_t RegisteredParameterCount(int32_t id);  // -1 when the id has no action
void RegisterCatalogue();                      // one add-action call per entry, in order
