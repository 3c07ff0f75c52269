// Random nbExecAction calls with a fixed, printed seed (TAMREL_FUZZ_SEED; TAMREL_FUZZ_CALLS calls):
// the ids and parameter counts the plug-in registered with the host, unknown ids, random texts,
// mixed with creates, destroys, engine deliveries, nested calls from action scripts and the end
// of run mode. Every result is 0 or 1, every host buffer is freed, the log stays well formed,
// and once run mode ends the plug-in's heap is back where it started. A failure or a crash names
// the seed and the call.
#include <windows.h>
#include <climits>
#include <cstdio>
#include <string>
#include <vector>
#include "browser_fixture.h"
#include "fuzz_random.h"
#include "fuzz_texts.h"
#include "log_check.h"
#include "soak_settings.h"

using namespace browsertest;

namespace {
struct TRegisteredAction {
  int32_t id = 0;
  std::string name;
  std::vector<uint8_t> types;  // one per parameter, as registered
  std::vector<std::string> words;
};

// Where the run is, for the crash report: a crash ends the process before any assertion can.
struct TRunPosition {
  uint32_t seed = 0;
  uint64_t call = 0;
  int32_t id = 0;
  const char* step = "setting up";
};
TRunPosition g_position;

LONG WINAPI ReportCrash(EXCEPTION_POINTERS* info) {
  std::fprintf(stderr,
               "\nCRASH: exception 0x%08lX at %p while %s (action id %ld) at call %llu of the run with seed %lu\n",
               info->ExceptionRecord->ExceptionCode, info->ExceptionRecord->ExceptionAddress, g_position.step,
               static_cast<long>(g_position.id), static_cast<unsigned long long>(g_position.call),
               static_cast<unsigned long>(g_position.seed));
  std::fflush(stderr);
  return EXCEPTION_EXECUTE_HANDLER;
}

// A parameter array whose last entry touches a page nobody may read: a dispatcher that reads one
// entry more than the action's parameter count faults at once.
class TGuardedArray {
 public:
  TGuardedArray() {
    base_ = static_cast<char*>(VirtualAlloc(nullptr, 2 * kPage, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    DWORD old = 0;
    if (base_) VirtualProtect(base_ + kPage, kPage, PAGE_NOACCESS, &old);
  }
  ~TGuardedArray() {
    if (base_) VirtualFree(base_, 0, MEM_RELEASE);
  }
  TGuardedArray(const TGuardedArray&) = delete;
  TGuardedArray& operator=(const TGuardedArray&) = delete;
  bool ok() const { return base_ != nullptr; }
  const char* const* Fill(const std::vector<const char*>& entries) {
    const char** at = reinterpret_cast<const char**>(base_ + kPage) - entries.size();
    for (size_t i = 0; i < entries.size(); ++i) at[i] = entries[i];
    return at;
  }

 private:
  static constexpr size_t kPage = 4096;
  char* base_ = nullptr;
};

std::string AnsiOf(const wchar_t* text) { return testhost::Ansi(text); }

const char* const kPool[] = {"Rect0", "Rect1", "Rect2", "Rect3"};

class CallFuzz : public BrowserTest {
 protected:
  void SetUp() override {
    BrowserTest::SetUp();
    if (HasFatalFailure()) return;
    for (const char* name : kPool) AddRectangle(name);
    for (const auto& call : host->CallsOf(testhost::CallKind::AddAction)) {
      if (call.id == 0) continue;  // a group header
      TRegisteredAction action;
      action.id = call.id;
      action.name = call.text;
      action.types = call.types;
      action.types.resize(static_cast<size_t>(call.count < 0 ? 0 : call.count), 1);
      if (const TActionRow* row = FindAction(call.id))
        for (const wchar_t* word : row->AcceptedWords) action.words.push_back(AnsiOf(word));
      actions.push_back(action);
      if (call.id > lastId) lastId = call.id;
    }
    // Existing files and folders, so that the local content actions succeed now and then.
    folder.reset(new testhost::ScopedTempDir(L"fuzz"));
    const std::wstring page = folder->path() + L"index.html";
    testhost::WriteFileBytes(page, "<html><body>fuzz</body></html>");
    existingPaths = {testhost::Ansi(page), testhost::Ansi(folder->path()),
                     testhost::Ansi(folder->path().substr(0, folder->path().size() - 1))};
    form = soak::CurrentLogForm(soak::kAnsiContinuationMark);
    previousFilter = SetUnhandledExceptionFilter(&ReportCrash);
  }
  void TearDown() override {
    SetUnhandledExceptionFilter(previousFilter);
    host->onRunScript = nullptr;
    BrowserTest::TearDown();
    folder.reset();
  }

  std::string At() const {
    return "at call " + std::to_string(g_position.call) + " (" + g_position.step + ", action id " +
           std::to_string(g_position.id) + ") of the run with seed " + std::to_string(g_position.seed);
  }

  const TRegisteredAction* Named(const char* name) const {
    for (const auto& a : actions)
      if (a.name == name) return &a;
    return nullptr;
  }

  std::string RectangleName() {
    const uint32_t pick = random->Below(100);
    std::string name = kPool[random->Below(4)];
    if (pick < 60) return name;
    if (pick < 70) {
      for (char& c : name) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
      return name;
    }
    if (pick < 75) return " " + name + " ";
    return soak::RandomText(*random);
  }

  std::string Parameter(const TRegisteredAction& action, uint8_t type) {
    switch (type) {
      case 8: return RectangleName();
      case 6: return soak::RandomVariableName(*random);
      case 3: return soak::RandomNumberText(*random);
      case 5: return soak::RandomPathText(*random, existingPaths);
      default:
        if (!action.words.empty() && random->Percent(60)) return soak::RandomWord(*random, action.words);
        return soak::RandomText(*random);
    }
  }

  // One nbExecAction: a registered action with its registered number of parameters, or now and
  // then an id that has no action, with an array the plug-in must not read.
  void ExecCall(const char* step) {
    std::vector<std::string> texts;
    std::vector<const char*> entries;
    int32_t id;
    bool unknown = actions.empty() || random->Percent(10);
    if (unknown) {
      const int32_t unknownIds[] = {0,
                                    -1,
                                    INT_MIN,
                                    INT_MAX,
                                    lastId + 1,
                                    lastId + 1 + static_cast<int32_t>(random->Below(1000)),
                                    -static_cast<int32_t>(random->Below(INT_MAX)),
                                    static_cast<int32_t>(0x40000000u + random->Below(0x3FFFFFFFu))};
      id = unknownIds[random->Below(8)];
    } else {
      const TRegisteredAction& action = random->Pick(actions);
      id = action.id;
      texts.reserve(action.types.size());
      for (uint8_t type : action.types) texts.push_back(Parameter(action, type));
      for (const auto& t : texts) entries.push_back(random->Percent(3) ? nullptr : t.c_str());
    }
    g_position.step = step;
    g_position.id = id;
    // A call from an action script runs while the outer call's handler holds its own array.
    TGuardedArray& array = arrays[nesting];
    const char* const* params = unknown && random->Percent(50) ? nullptr : array.Fill(entries);
    const int32_t result = host->ExecRaw(id, params);
    ++execCalls;
    ASSERT_TRUE(result == 0 || result == 1) << "result " << result << " " << At();
    if (unknown) {
      ASSERT_EQ(result, 0) << "an id without an action succeeded " << At();
    }
    ASSERT_EQ(host->LiveBuffers(), 0) << "a host buffer of the plug-in was not freed " << At();
    ASSERT_EQ(host->unbalancedCalls, 0) << "an entry point did not pop its arguments " << At();
  }

  int32_t RandomWebView() { return 1 + static_cast<int32_t>(random->Below(engine::WebViewCount() + 1)); }

  void Deliver() {
    g_position.step = "delivering";
    g_position.id = 0;
    EngineClient& engineClient = engine::Client();
    switch (random->Below(6)) {
      case 0: {
        EngineEventArgs args{};
        const std::wstring uri = soak::RandomEngineText(*random);
        args.uri = random->Percent(10) ? nullptr : uri.c_str();
        args.isSuccess = random->Percent(50);
        args.webErrorStatus = static_cast<int32_t>(random->Next());
        args.isErrorPage = random->Percent(50);
        args.navigationId = (static_cast<uint64_t>(random->Next()) << 32) | random->Next();
        args.isNewDocument = random->Percent(50);
        args.processFailedKind = static_cast<int32_t>(random->Below(8)) - 1;
        engineClient.Fire(RandomWebView(), static_cast<EngineEvent>(random->Below(6)), args);
        break;
      }
      case 1:
      case 2:
        engineClient.PostWebMessage(RandomWebView(), soak::RandomEngineText(*random), !random->Percent(10));
        break;
      case 3: {
        const int32_t pending = engineClient.PendingScriptCount();
        const HRESULT results[] = {S_OK, S_OK, E_FAIL, static_cast<HRESULT>(0x80070005),
                                   static_cast<HRESULT>(random->Next())};
        const std::wstring json = soak::RandomEngineText(*random);
        engineClient.CompleteScript(static_cast<int32_t>(random->Below(static_cast<uint32_t>(pending) + 1)),
                                    results[random->Below(5)], random->Percent(10) ? nullptr : json.c_str());
        break;
      }
      case 4:
        engineClient.SetTitle(RandomWebView(), soak::RandomEngineText(*random));
        engineClient.SetSource(RandomWebView(), soak::RandomEngineText(*random));
        engineClient.SetHistory(RandomWebView(), random->Percent(50), random->Percent(50));
        break;
      default: break;
    }
    PumpSome();
  }

  // Dispatches what has arrived, or part of it, so that deliveries meet the calls in any order.
  void PumpSome() {
    const uint32_t most = random->Below(20);
    MSG msg;
    for (uint32_t i = 0; i < most && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }

  // Run mode ends: every browser goes. With none left the engine's records start over.
  void EndRunMode() {
    g_position.step = "ending run mode";
    g_position.id = 0;
    host->Message(2);
    DrainPostedMessages();
    engine::Reset();
    engine::Client().SetManualScripts(true);
    host->calls.clear();
    host->variables.clear();
  }

  void CheckLog() {
    const std::string bytes = appData->Log();
    const std::string fault = soak::FirstLogFault(bytes, form);
    ASSERT_EQ(fault, "") << At();
    DeleteFileW(appData->LogPath().c_str());  // keeps long runs small; the plug-in opens it per line
  }

  // Every registered action once on a ready browser: lazily built state settles before the heap
  // is measured.
  void WarmUp() {
    const TRegisteredAction* create = Named("zkTamrelCreate");
    ASSERT_NE(create, nullptr);
    ASSERT_EQ(host->Exec(create->id, {"Rect0", "https://warm.example/"}), 1);
    ASSERT_TRUE(WaitReady(1));
    for (const auto& action : actions) {
      std::vector<std::string> params;
      for (uint8_t type : action.types)
        params.push_back(type == 8 ? "Rect0" : type == 6 ? "[Warm]" : action.words.empty() ? "1" : action.words[0]);
      if (action.name == "zkTamrelDestroy") continue;
      host->Exec(action.id, params);
    }
    while (engine::Client().PendingScriptCount() > 0) engine::Client().CompleteScript(0, S_OK, L"1");
    DrainPostedMessages();
    EndRunMode();
    CheckLog();
  }

  std::unique_ptr<soak::TFuzzRandom> random;
  std::vector<TRegisteredAction> actions;
  int32_t lastId = 0;
  std::unique_ptr<testhost::ScopedTempDir> folder;
  std::vector<std::string> existingPaths;
  soak::TLogForm form;
  TGuardedArray arrays[2];
  int nesting = 0;  // 1 inside a call from an action script
  uint64_t execCalls = 0;
  LPTOP_LEVEL_EXCEPTION_FILTER previousFilter = nullptr;
};
}  // namespace

TEST_F(CallFuzz, RandomActionCallsKeepTheHostContract) {
  const uint32_t seed = static_cast<uint32_t>(soak::SettingOr("TAMREL_FUZZ_SEED", 20261210));
  const uint64_t calls = soak::SettingOr("TAMREL_FUZZ_CALLS", 20000);
  std::printf("fuzz seed: %lu, nbExecAction calls: %llu (TAMREL_FUZZ_SEED=%lu repeats this run)\n",
              static_cast<unsigned long>(seed), static_cast<unsigned long long>(calls),
              static_cast<unsigned long>(seed));
  std::fflush(stdout);
  g_position.seed = seed;
  random.reset(new soak::TFuzzRandom(seed));
  ASSERT_TRUE(arrays[0].ok() && arrays[1].ok());
  ASSERT_GE(actions.size(), 1u) << "the plug-in registered no action";
  engine::Client().SetManualScripts(true);
  ASSERT_NO_FATAL_FAILURE(WarmUp());
  const int heapAtStart = host->PluginHeapBlocks();

  // An action script the host runs may call the plug-in again, as a publication's scripts do.
  bool nestedFailed = false;
  host->onRunScript = [&](const std::string&) {
    if (nesting > 0 || nestedFailed || !random->Percent(20)) return;
    ++nesting;
    ExecCall("a call from an action script");
    nestedFailed = HasFatalFailure();
    --nesting;
  };

  const TRegisteredAction* create = Named("zkTamrelCreate");
  const TRegisteredAction* destroy = Named("zkTamrelDestroy");
  uint64_t nextLogCheck = 4000;
  for (uint64_t step = 0; execCalls < calls; ++step) {
    g_position.call = execCalls + 1;
    const uint32_t op = random->Below(1000);
    if (op < 700) {
      ASSERT_NO_FATAL_FAILURE(ExecCall("a random call"));
    } else if (op < 760 && create && destroy) {
      const bool creating = op < 735;
      g_position.step = creating ? "creating" : "destroying";
      g_position.id = creating ? create->id : destroy->id;
      const int32_t result = creating ? host->Exec(create->id, {kPool[random->Below(4)], soak::RandomText(*random)})
                                      : host->Exec(destroy->id, {kPool[random->Below(4)]});
      ++execCalls;
      ASSERT_TRUE(result == 0 || result == 1) << "result " << result << " " << At();
      ASSERT_EQ(host->LiveBuffers(), 0) << At();
    } else if (op < 900) {
      Deliver();
    } else if (op < 990) {
      PumpSome();
    } else if (op < 997) {
      const int32_t codes[] = {0, 1, 3, -1, INT_MAX, static_cast<int32_t>(random->Next()) | 4};
      host->Message(codes[random->Below(6)]);
    } else {
      EndRunMode();
    }
    ASSERT_FALSE(nestedFailed) << At();
    if (step % 1000 == 999) {
      host->calls.clear();
      host->variables.clear();
    }
    if (execCalls >= nextLogCheck) {
      ASSERT_NO_FATAL_FAILURE(CheckLog());
      nextLogCheck += 4000;
      if (calls >= 100000 && execCalls % 100000 < 4000) {
        std::printf("  %llu calls\n", static_cast<unsigned long long>(execCalls));
        std::fflush(stdout);
      }
    }
  }
  host->onRunScript = nullptr;

  g_position.step = "finishing";
  while (engine::Client().PendingScriptCount() > 0) engine::Client().CompleteScript(0, S_OK, L"null");
  DrainPostedMessages();
  EndRunMode();
  ASSERT_NO_FATAL_FAILURE(CheckLog());
  EXPECT_EQ(host->LiveBuffers(), 0) << At();
  EXPECT_EQ(host->PluginHeapBlocks(), heapAtStart) << "the plug-in's heap after run mode ended " << At();
  EXPECT_EQ(engine::LiveObjects(), 0) << At();
}
