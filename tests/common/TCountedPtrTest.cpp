#include "common/TCountedPtr.h"

#include <gtest/gtest.h>

namespace {

struct Tracked {
  explicit Tracked(int* d) : deaths(d) {}
  virtual ~Tracked() { ++*deaths; }
  int* deaths;
};
struct Derived : Tracked {
  using Tracked::Tracked;
};

struct FakeCom {
  int refs = 1;
  int* released;
  void AddRef() { ++refs; }
  void Release() {
    ++*released;
    --refs;
  }
};

TEST(CountedPtr, CopiesShareOneCountAndTheLastDisposes) {
  int deaths = 0;
  {
    TCountedPtr<Tracked> a(new Tracked(&deaths));
    EXPECT_EQ(a.GetCount(), 1);
    EXPECT_TRUE(a.Owns());
    TCountedPtr<Tracked> b = a;
    TCountedPtr<Tracked> c;
    c = b;
    EXPECT_EQ(a.GetCount(), 3);
    EXPECT_TRUE(a.SharesWith(c));
    b.Reset();
    EXPECT_EQ(a.GetCount(), 2);
    EXPECT_EQ(b.GetCount(), 1);
    EXPECT_FALSE(b);
  }
  EXPECT_EQ(deaths, 1);
}

TEST(CountedPtr, ClearedOwnsFlagLeavesTheObject) {
  int deaths = 0;
  Tracked* raw = new Tracked(&deaths);
  {
    TCountedPtr<Tracked> a(raw);
    TCountedPtr<Tracked> b = a;
    b.SetOwns(false);  // a purge destroyed it elsewhere
    EXPECT_FALSE(a.Owns());
  }
  EXPECT_EQ(deaths, 0);
  delete raw;
}

TEST(CountedPtr, DisposalFollowsTheKind) {
  int deaths = 0;
  { TCountedPtr<Tracked> base = TCountedPtr<Derived>(new Derived(&deaths)); }
  EXPECT_EQ(deaths, 1);

  int released = 0;
  FakeCom com{1, &released};
  { TCountedPtr<FakeCom> p(&com); }
  EXPECT_EQ(released, 1) << "COM objects are released, not deleted";

  TCountedPtr<Tracked> empty;
  EXPECT_EQ(empty.GetCount(), 1);
  EXPECT_FALSE(empty.Owns());
  TCountedPtr<Tracked> null(nullptr);
  EXPECT_FALSE(null.Owns());
}

}  // namespace
