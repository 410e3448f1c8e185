#include <gtest/gtest.h>

#include "platform/com/Guid.h"
#include "platform/registry/Registry.h"
#include "tests/platform/PlatformTestSupport.h"
#include "tests/platform/com/testserver/Adder.h"

namespace {

using platform::registry::Registry;
using platform::registry::Root;
using platform::testing::ProcessResult;
using platform::testing::RunProgram;
using platform::testing::TemporaryStore;
using platform::testing::WriteFile;

const std::string kServer = TAVO_TEST_SERVER;

class RegsvrTest : public ::testing::Test {
  protected:
    ProcessResult Regsvr(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), TAVO_REGSVR);
        return RunProgram(arguments, store_.Directory());
    }
    bool ClassRegistered() const {
        return Registry().KeyExists(Root::ClassesRoot,
                                    "CLSID\\" + platform::com::GuidToString(CLSID_Adder));
    }

    TemporaryStore store_;
};

TEST_F(RegsvrTest, RegistersAndUnregistersAndSaysSo) {
    const ProcessResult registration = Regsvr({kServer});
    EXPECT_EQ(registration.exitCode, 0);
    EXPECT_EQ(registration.out, "DllRegisterServer in " + kServer + " succeeded.\n");
    EXPECT_TRUE(ClassRegistered());
    EXPECT_EQ(Regsvr({kServer}).exitCode, 0);  // twice leaves one set of keys

    const ProcessResult removal = Regsvr({"-u", kServer});
    EXPECT_EQ(removal.exitCode, 0);
    EXPECT_EQ(removal.out, "DllUnregisterServer in " + kServer + " succeeded.\n");
    EXPECT_FALSE(ClassRegistered());
}

TEST_F(RegsvrTest, SilentPrintsNothing) {
    const ProcessResult result = Regsvr({"-s", kServer});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "");
    EXPECT_TRUE(ClassRegistered());
    const ProcessResult failure = Regsvr({"-s", (store_.Directory() / "none.so").string()});
    EXPECT_EQ(failure.exitCode, 3);
    EXPECT_EQ(failure.err, "");
}

TEST_F(RegsvrTest, FailuresExitWithTheirOwnCodes) {
    const ProcessResult missing = Regsvr({(store_.Directory() / "none.so").string()});
    EXPECT_EQ(missing.exitCode, 3);
    EXPECT_NE(missing.err.find("cannot load"), std::string::npos) << missing.err;

    const ProcessResult notAServer = Regsvr({TAVO_COM_LIBRARY});
    EXPECT_EQ(notAServer.exitCode, 4);
    EXPECT_NE(notAServer.err.find("does not export DllRegisterServer"), std::string::npos);

    WriteFile(store_.File(), "damaged");
    const ProcessResult refused = Regsvr({kServer});
    EXPECT_EQ(refused.exitCode, 5);
    EXPECT_NE(refused.err.find("DllRegisterServer in " + kServer + " failed with 0x"),
              std::string::npos)
        << refused.err;
    // The store's own words, not only the code.
    EXPECT_NE(refused.err.find(": damaged registry file " + store_.File().string() + ", line 1: "),
              std::string::npos)
        << refused.err;

    EXPECT_EQ(Regsvr({}).exitCode, 1);
    EXPECT_EQ(Regsvr({"-x", kServer}).exitCode, 1);
    EXPECT_EQ(Regsvr({kServer, kServer}).exitCode, 1);
}

}  // namespace
