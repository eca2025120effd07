#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/Component.h"
#include "framework/Form.h"

using namespace tarnwick;

namespace {

// Writes its name to a shared log when it is freed, loaded or notified.
class TLoggingComponent : public TComponent {
 public:
  TLoggingComponent(TComponent* AOwner, std::string Name, std::vector<std::string>& Log)
      : TComponent(AOwner), FName(std::move(Name)), FLog(Log) {}
  ~TLoggingComponent() override { FLog.push_back("free " + FName); }

  TComponent* LastRemoved = nullptr;

 protected:
  void Loaded() override { FLog.push_back("loaded " + FName); }
  void Notification(TComponent* AComponent, TOperation Operation) override {
    if (Operation == opRemove) {
      LastRemoved = AComponent;
      FLog.push_back("removed at " + FName);
    }
  }

 private:
  std::string FName;
  std::vector<std::string>& FLog;
};

TEST(Component, OwnerFreesWhatItOwnsNewestFirst) {
  std::vector<std::string> Log;
  auto* Owner = new TLoggingComponent(nullptr, "owner", Log);
  new TLoggingComponent(Owner, "a", Log);
  auto* B = new TLoggingComponent(Owner, "b", Log);
  new TLoggingComponent(Owner, "c", Log);

  delete B;
  EXPECT_EQ(Owner->Components().size(), 2u);
  delete Owner;

  EXPECT_EQ(Log, (std::vector<std::string>{"free b", "free owner", "free c", "free a"}));
}

TEST(Component, FreeNotificationReachesTheOtherSideInEitherOrder) {
  std::vector<std::string> Log;
  auto Watcher = std::make_unique<TLoggingComponent>(nullptr, "watcher", Log);
  auto* Watched = new TLoggingComponent(nullptr, "watched", Log);
  Watched->FreeNotification(Watcher.get());
  Watched->FreeNotification(Watcher.get());  // one link, one notice
  delete Watched;
  EXPECT_EQ(Watcher->LastRemoved, Watched);
  EXPECT_EQ(Log, (std::vector<std::string>{"free watched", "removed at watcher"}));

  // The link is mutual: the one that asked is freed first, and the other
  // hears of it and no longer knows it.
  Log.clear();
  auto Target = std::make_unique<TLoggingComponent>(nullptr, "target", Log);
  auto* Asker = new TLoggingComponent(nullptr, "asker", Log);
  Target->FreeNotification(Asker);
  delete Asker;
  EXPECT_EQ(Target->LastRemoved, Asker);
  Target.reset();
  EXPECT_EQ(Log, (std::vector<std::string>{"free asker", "removed at target", "free target"}));
}

class TLoadedForm : public TForm {
 public:
  TLoadedForm(std::vector<std::string>& Log) : TForm(nullptr), FLog(Log) {
    new TLoggingComponent(this, "first", Log);
    new TLoggingComponent(this, "second", Log);
    OnCreate = [this](TObject*) { FLog.push_back("create"); };
    CompleteLoading();
  }

 protected:
  void Loaded() override { FLog.push_back("loaded form"); }

 private:
  std::vector<std::string>& FLog;
};

TEST(Component, AfterLoadingStepRunsOnceForEachComponentThenTheFormThenOnCreate) {
  std::vector<std::string> Log;
  {
    TLoadedForm Form(Log);
    EXPECT_EQ(Log, (std::vector<std::string>{"loaded first", "loaded second", "loaded form", "create"}));
  }
}

}  // namespace
