// The holder family: a valid value is released exactly once, an invalid one never, and a
// holder tests true only for a valid value (a failed FindFirstFileW gives a false holder).
#include "support/unique_resource.h"
#include <gtest/gtest.h>
#include <windows.h>
#include <vector>
#include "test_env.h"

namespace {
std::vector<int> closed;
void Record(int* value) { closed.push_back(*value); }
using TCounted = TUniqueResource<TNullInvalidTraits<int*, &Record>>;
}  // namespace

TEST(UniqueResource, ReleasesAValidValueExactlyOnce) {
  int a = 1, b = 2, c = 3;
  closed.clear();
  {
    TCounted held(&a);
    EXPECT_TRUE(held);
    held.reset(&b);  // a goes now
    EXPECT_EQ(closed, std::vector<int>{1});
    TCounted moved(std::move(held));
    EXPECT_FALSE(held);
    EXPECT_EQ(moved.get(), &b);
    TCounted other(&c);
    other = std::move(moved);  // c goes, b moves over
    EXPECT_EQ(closed, (std::vector<int>{1, 3}));
    int* kept = other.release();
    EXPECT_EQ(kept, &b);
    EXPECT_FALSE(other);
  }
  // Nothing more: the released value and the empty holders release nothing.
  EXPECT_EQ(closed, (std::vector<int>{1, 3}));

  TCounted out;
  *out.put() = &a;
  EXPECT_TRUE(out);
  out.reset();
  EXPECT_EQ(closed, (std::vector<int>{1, 3, 1}));
  out.reset();  // an empty holder stays quiet
  EXPECT_EQ(closed.size(), 3u);
}

TEST(UniqueResource, FailedFindAndFileHandlesAreFalse) {
  WIN32_FIND_DATAW data;
  const TUniqueFind none(FindFirstFileW(L"C:\\no such folder here\\*", &data));
  EXPECT_FALSE(none);
  const TUniqueFile missing(
      CreateFileW(L"C:\\no such folder here\\x.txt", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  EXPECT_FALSE(missing);
}

TEST(UniqueResource, AFileIsClosedWhenItsHolderGoes) {
  const testhost::ScopedTempDir temp(L"holder");
  const std::wstring& dir = temp.path();
  const std::wstring path = dir + L"held.txt";
  ASSERT_TRUE(testhost::WriteFileBytes(path, "x"));
  {
    const TUniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(file);
    // Opened without sharing: a second open fails while the holder lives.
    const TUniqueFile second(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_FALSE(second);
    WIN32_FIND_DATAW data;
    const TUniqueFind find(FindFirstFileW((dir + L"*").c_str(), &data));
    EXPECT_TRUE(find);
  }
  EXPECT_TRUE(DeleteFileW(path.c_str()));
}
