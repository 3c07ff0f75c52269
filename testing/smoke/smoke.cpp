// Loads a plug-in file as VisualNEO does and prints what the host receives.
#include <cstdio>
#include "testhost/test_env.h"
#include "testhost/test_host.h"

int wmain(int argc, wchar_t** argv) {
  try {
    testhost::TestHost host(argc > 1 ? argv[1] : testhost::DefaultPluginPath());
    char *title = nullptr, *author = nullptr, *description = nullptr;
    host.Init(0, &title, &author, &description);
    host.Start();
    int actions = 0, groups = 0;
    for (const auto& c : host.CallsOf(testhost::CallKind::AddAction)) (c.id ? actions : groups)++;
    std::printf("plug-in: %s by %s\n%s\n", title, author, description);
    std::printf("registered %d actions in %d groups; %zu publication file(s)\n", actions, groups,
                host.CallsOf(testhost::CallKind::AddFile).size());
    // Publication setup: register the web libraries that lie beside the plug-in.
    const int32_t assets = host.Exec(24, {"ALL", "[Summary]"});
    std::printf("tamrelPrepareAssets: %s%s\n", host.Var("[Summary]").c_str(),
                assets ? "" : (" (failed: " + host.Var("[LastError]") + ")").c_str());
    host.FreeHostBuffer(title);
    host.FreeHostBuffer(author);
    host.FreeHostBuffer(description);
    return actions == 25 && groups == 12 && assets == 1 && host.unbalancedCalls == 0 ? 0 : 1;
  } catch (const std::exception& e) {
    std::printf("smoke run failed: %s\n", e.what());
    return 1;
  }
}
