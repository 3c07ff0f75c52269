#include "actions/action_handlers.h"
#include "host/not_available.h"

bool CreateTabulatorGrid(const std::wstring&, const std::wstring&, const std::wstring&, const std::wstring&) {
  ActionNotAvailable(L"zkTamrelTabulator");
}
bool CreateQuillEditor(const std::wstring&, const std::wstring&, const std::wstring&, const std::wstring&) {
  ActionNotAvailable(L"zkTamrelQuillEditor");
}
bool CreateEChartsChart(const std::wstring&, const std::wstring&, const std::wstring&, const std::wstring&) {
  ActionNotAvailable(L"zkTamrelECharts");
}
