// The Verify window's portable rules: its settings' odd values, the proxy texts and the order by status, and
// the take cursor against a scan from the top while rows are taken, failed and deleted in any order.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "verify/verify_progress.h"
#include "verify/verify_settings.h"

TEST(VerifyWindowRules, SettingsAndTexts)
{
    auto n = [](long value) { return std::to_string(value); };
    auto order = [](int sign) {
        std::string moved;
        for (int to : StatusOrder({{"b", 0}, {"A", 0}, {"c", 0}, {"a", 0}}, sign))
            moved += std::to_string(to);
        return moved;
    };
    const struct {
        std::string got, want;
    } cases[] = {
        {n(ThreadCountSetting(false, 9)), "6"}, {n(ThreadCountSetting(true, 0)), "6"},
        {n(ThreadCountSetting(true, -2)), "6"}, {n(ThreadCountSetting(true, 1)), "1"},
        {n(ThreadCountSetting(true, 65)), "64"}, {n(TimeoutSetting(false, 9)), "60"},
        {n(TimeoutSetting(true, 0)), "60"}, {n(TimeoutSetting(true, 5)), "5"},
        {ProxyName("(none)"), ""}, {ProxyName("proxy"), "proxy"}, {n(ProxyPort("3128")), "3128"},
        {n(ProxyPort("(none)")), "0"}, {StoredProxyPort(""), "8080"}, {StoredProxyPort("(none)"), "8080"},
        {StoredProxyPort("81"), "81"}, {PaddedProxyText("p"), "p" + std::string(254, '\0')},
        {PaddedProxyText(std::string(300, 'x')), std::string(255, 'x')},
        {n(ProxyPortMissing("p", "")) + n(ProxyPortMissing("p", "(none)")) + n(ProxyPortMissing("(none)", "")) +
             n(ProxyPortMissing("", "")) + n(ProxyPortMissing("p", "80")), "11000"},
        {ProxyPortMessage(), "Please enter a Proxy Port (try using 8080 if you're not sure)."},
        {order(1), "2031"}, {order(-1), "1203"},  // A-Z folded; equal statuses keep their order
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.got, c.want);
}

TEST(VerifyWindowRules, TakeCursorFollowsTheListAsAScanFromTheTopWould)
{
    std::mt19937 random(11);
    for (int round = 0; round < 50; round++) {
        std::vector<std::pair<int, std::string>> items;  // row, Status
        for (int row = 0, count = 1 + static_cast<int>(random() % 40); row < count; row++)
            items.push_back({row, NOT_VERIFIED});
        std::vector<int> inHand;  // rows
        TakeCursor cursor;
        auto read = [&](int item, std::string *status) {
            return item < static_cast<int>(items.size()) && (*status = items[static_cast<size_t>(item)].second, true);
        };
        for (;;) {
            auto first = std::find_if(items.begin(), items.end(), [](const auto &i) { return i.second == NOT_VERIFIED; });
            int item = FindNextNotVerified(cursor, read);
            ASSERT_EQ(item, first == items.end() ? -1 : first - items.begin()) << "round " << round;
            if (item < 0)
                break;
            items[static_cast<size_t>(item)].second = "Verifying...";
            NoteRowTaken(cursor, items[static_cast<size_t>(item)].first, item);
            inHand.push_back(items[static_cast<size_t>(item)].first);
            // Rows in hand end in any order: a passed one's item is deleted, a failed one keeps its text.
            while (!inHand.empty() && random() % 2) {
                auto done = inHand.begin() + static_cast<long>(random() % inHand.size());
                int at = TakeRowBack(cursor, *done);
                ASSERT_TRUE(at >= 0 && at < static_cast<int>(items.size()) && items[static_cast<size_t>(at)].first == *done);
                inHand.erase(done);
                if (random() % 2) {
                    items[static_cast<size_t>(at)].second = "404 - Object Not Found";
                } else {
                    items.erase(items.begin() + at);
                    NoteRowDeleted(cursor, at);
                }
            }
        }
    }
}
