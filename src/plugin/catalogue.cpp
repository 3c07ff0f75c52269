#include "plugin/catalogue.h"
#include "actions/action_table.h"
#include "host/host_callbacks.h"

void RegisterCatalogue() {
  for (const TActionRow& row : ActionTable())
    AddActionCallback(row.Id, row.Name, row.Hint, row.Count, static_cast<int32_t>(row.Types.size()) - 1,
                      row.Types.data());
}
