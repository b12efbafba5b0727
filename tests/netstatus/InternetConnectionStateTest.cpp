#include "netstatus/InternetConnectionState.h"

#include "support/FakeConnectionState.h"

#include <gtest/gtest.h>

using namespace horlan;

TEST(InternetConnectionState, AnswersComeFromTheirOwnPartOfTheQuery) {
    const struct {
        const char* name;
        ConnectionAnswer answer;
        bool connected, viaLan, viaModem;
    } rows[] = {
        {"proxy only", {true, 0x4u}, true, false, false},
        {"local network", {true, 0x2u}, true, true, false},
        {"modem", {true, 0x1u}, true, false, true},
        {"both kinds and unrelated bits", {true, 0x7Fu}, true, true, true},
        {"no connection but LAN bit set", {false, 0x2u}, false, true, false},
        {"connected, flags left unwritten", {true, std::nullopt}, true, false, false},
        {"failed query writes no flags", {false, std::nullopt}, false, false, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        FakeConnectionState source;
        source.Answer = row.answer;
        InternetConnectionState state(source);
        EXPECT_EQ(state.IsConnected(), row.connected);
        EXPECT_EQ(state.IsConnectedViaLan(), row.viaLan);
        EXPECT_EQ(state.IsConnectedViaModem(), row.viaModem);
        EXPECT_EQ(source.Calls, 3);
    }
}

TEST(InternetConnectionState, EveryCallQueriesAfreshAndSeesAChange) {
    FakeConnectionState source;
    source.Script = {{true, 0x2u}, {false, std::nullopt}, {true, 0x1u}, {false, 0x0u}};
    InternetConnectionState state(source);
    EXPECT_TRUE(state.IsConnectedViaLan());
    EXPECT_FALSE(state.IsConnectedViaLan());
    EXPECT_TRUE(state.IsConnectedViaModem());
    EXPECT_FALSE(state.IsConnected());
    EXPECT_EQ(source.Calls, 4);
}

TEST(InternetConnectionState, AMissingSourceReachesTheCallerAsItsError) {
    for (const int number : {ErrFileNotFound, ErrEntryPointNotFound}) {
        FakeConnectionState source;
        source.Answer.ErrorNumber = number;
        InternetConnectionState state(source);
        try {
            state.IsConnectedViaModem();
            ADD_FAILURE() << "no error for " << number;
        } catch (const RuntimeError& error) {
            EXPECT_EQ(error.Number(), number);
        }
    }
}
