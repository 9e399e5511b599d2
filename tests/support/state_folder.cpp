// The tests keep the file histories in a state folder of their own, never the user's.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <memory>

#include "support/temp_dir.h"

namespace {

class OwnStateFolder : public ::testing::Environment {
  public:
    void SetUp() override {
        folder_ = std::make_unique<lodestar::testing::TempDir>();
        ::setenv("XDG_STATE_HOME", folder_->path().c_str(), 1);
    }
    void TearDown() override { folder_.reset(); }

  private:
    std::unique_ptr<lodestar::testing::TempDir> folder_;
};

[[maybe_unused]] ::testing::Environment* const ownStateFolder =
    ::testing::AddGlobalTestEnvironment(new OwnStateFolder);

}  // namespace
