#include "service/ServiceState.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace q7n;

TEST(ServiceState, CaptionsOfEveryCodeAndUnknownPastThem) {
    std::vector<std::string> Captions;
    for (int Code : {0, 1, 2, 3, 4, 5, 6, 7, 8, 255})
        Captions.push_back(ServiceStateCaption(TServiceState(Code)));
    // Russian captions in UTF-8; codes 5 and 6 are English.
    EXPECT_EQ(Captions, (std::vector<std::string>{"Неизвестно", "Остановлен", "Запускается",
                                                  "Останавливается", "Работает", "ContinuePending",
                                                  "PausePending", "Приостановлен", "Неизвестно",
                                                  "Неизвестно"}));
}
