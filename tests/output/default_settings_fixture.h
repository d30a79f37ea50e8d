// Tests of the exported outputs start from DMSetDefault on a 96 dpi screen,
// with a private directory for the files, and leave the defaults behind.
#pragma once

#include <gtest/gtest.h>

#include "ecc200.h"
#include "platform/portable/portable_screen.h"
#include "support/temp_dir.h"

namespace ecc200::test {

class DefaultSettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::SetPortableScreenDpi(96);
        DMSetDefault();
    }
    void TearDown() override { DMSetDefault(); }

    TempDir dir_;
};

}  // namespace ecc200::test
