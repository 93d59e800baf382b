#include "service/ServiceState.h"

#include <gtest/gtest.h>
#include <string>

using namespace q7n;

TEST(ServiceState, CaptionsAndColoursOfEveryCode) {
    // Russian captions in UTF-8; codes 5 and 6 are English.
    EXPECT_EQ(std::string(ServiceStateCaptions[0]), "Неизвестно");
    EXPECT_EQ(std::string(ServiceStateCaptions[1]), "Остановлен");
    EXPECT_EQ(std::string(ServiceStateCaptions[2]), "Запускается");
    EXPECT_EQ(std::string(ServiceStateCaptions[3]), "Останавливается");
    EXPECT_EQ(std::string(ServiceStateCaptions[4]), "Работает");
    EXPECT_EQ(std::string(ServiceStateCaptions[5]), "ContinuePending");
    EXPECT_EQ(std::string(ServiceStateCaptions[6]), "PausePending");
    EXPECT_EQ(std::string(ServiceStateCaptions[7]), "Приостановлен");
    // Only running is green, only "unknown" and stopped are red, the rest amber.
    for (int Code = 0; Code < ServiceStateCount; ++Code) {
        TColor Expected = Code == 4 ? 0x003DC240u : Code <= 1 ? 0x000000FFu : 0x000EB3F1u;
        EXPECT_EQ(ServiceStateColors[Code], Expected) << "code " << Code;
    }
}
