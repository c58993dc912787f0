// The window's search within the holdings answers as the core's request path does for the
// same query: its holdings as "owned", its limit as "acquire", its view as "distinct".

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <fstream>
#include <random>

#include "json/json_reader.h"
#include "search/dialog_form.h"
#include "search/search_request.h"
#include "simulator/build_code.h"
#include "simulator/holdings_file.h"
#include "simulator/holdings_form.h"
#include "simulator/holdings_json.h"
#include "tests/support/json_member.h"
#include "tests/support/random_holdings.h"
#include "ui/qt_text.h"
#include "ui/search_dialog.h"
#include "ui_test_support.h"
#include "window_driver.h"

namespace {

const char* const kStartFile =
    "[Window]\nLeft=0\nTop=0\n[Character]\nLevel=12\nTabIndex=0\n"
    "[Bastian]\nTop=4\nPants=7\nShoes=6\nHand=6\nHead1=7\nFace=5\nAcce=2\nRing=1\n"
    "CharaCard1=3\nCharaCard2=5\nCaddieCard1=1\nPowSlotUp=4\nCtrlSlotUp=3\n"
    "[Caddie]\nCaddie=3\n[SpecialCard]\nSpecialCard=1\n[Club]\nClub=21\n";

QString Joined(const json::Value& texts) {
    QStringList out;
    for (const json::Value& t : texts.Items) {
        out << Q(t.Text);
    }
    return out.join(QStringLiteral(" / "));
}

QString Cell(const QTableWidget& table, int row, int column) {
    return table.item(row, column)->text();
}

}  // namespace

TEST(SearchWithinHoldings, TheWindowAnswersAsTheCommandLine) {
    std::mt19937 rng(4411);
    const std::vector<std::string> parts = {"Head1",       "Face",       "Caddie",
                                            "SpecialCard", "CharaCard1", "Ring"};
    int acquiring = 0;
    int gains = 0;
    for (int round = 0; round < 6; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        TempSettings settings;
        settings.Write(kStartFile);
        const THoldings holdings = RandomHoldings(rng);
        std::ofstream(HoldingsFilePath(settings.Path()), std::ios::binary)
            << HoldingsFileText(holdings);
        auto form = ShownWindow(settings);
        ASSERT_EQ(form->Holdings(), holdings);
        WindowDriver(*form).PressKey(Qt::Key_F, Qt::ControlModifier);
        QApplication::processEvents();
        auto* dialog = form->findChild<SearchDialog*>(QStringLiteral("SearchDialog"));
        ASSERT_NE(dialog, nullptr);

        // The query as a user sets it, and the same as JSON for the command line.
        QTest::mouseClick(Find<QPushButton>(*dialog, "SearchFreeNone"), Qt::LeftButton);
        std::string free;
        for (const std::string& part : parts) {
            if (std::uniform_int_distribution<int>(0, 1)(rng) == 0) {
                Find<QCheckBox>(*dialog, "SearchFree_" + Q(part))->click();
                free += (free.empty() ? "\"" : ", \"") + part + "\"";
            }
        }
        const int objective = std::uniform_int_distribution<int>(0, kObjectiveCount - 1)(rng);
        Find<QComboBox>(*dialog, "SearchObjective")->setCurrentIndex(objective);
        const DialogControl& acquire = *FindDialogControl("SearchAcquire");
        const int limit = std::uniform_int_distribution<int>(0, 4)(rng);
        Find<QComboBox>(*dialog, "SearchAcquire")->setCurrentIndex(limit);
        const bool next = round % 2 == 1;
        Find<QComboBox>(*dialog, "SearchView")->setCurrentIndex(next ? 1 : 0);
        EXPECT_EQ(Find<QComboBox>(*dialog, "SearchAcquire")->isEnabled(), !next);
        const std::string query =
            "{\"build\": \"" + EncodeBuild(BuildOf(form->Simulator().State)) + "\", \"free\": [" +
            free + "], \"objective\": \"" +
            std::string(ObjectiveName(static_cast<SearchObjective>(objective))) +
            "\", \"owned\": " + HoldingsJson(holdings) +
            ", \"acquire\": " + (next ? "1" : acquire.Values[static_cast<size_t>(limit)]) +
            ", \"distinct\": \"" + (next ? "acquired" : "figures") + "\"}";
        SCOPED_TRACE(query);

        QTest::mouseClick(Find<QPushButton>(*dialog, "SearchRun"), Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog->Searching(); }, 60000));
        const SearchReply reply = AnswerSearchRequest(query, nullptr);
        ASSERT_TRUE(reply.Answer) << reply.Refusal;
        const json::Value answer = json::Parse(*reply.Answer);
        const json::Value& answers = Member(answer, "answers");

        auto* table = Find<QTableWidget>(*dialog, "SearchAnswers");
        ASSERT_EQ(table->rowCount(), 1 + static_cast<int>(answers.Items.size()));
        EXPECT_EQ(table->isColumnHidden(SearchDialog::kAcquiredColumn), OwnsEverything(holdings));
        EXPECT_EQ(table->isColumnHidden(SearchDialog::kGainColumn), !next);
        for (size_t k = 0; k < answers.Items.size(); ++k) {
            const json::Value& a = answers.Items[k];
            const int row = static_cast<int>(k) + 1;
            EXPECT_EQ(Cell(*table, row, SearchDialog::kPPColumn),
                      QStringLiteral("%1 PP").arg(Member(a, "pp").Int));
            for (int s = 0; s < 5; ++s) {
                EXPECT_EQ(Cell(*table, row, SearchDialog::kFinalColumn + s),
                          QString::number(Member(a, "final").Items[static_cast<size_t>(s)].Int));
            }
            EXPECT_EQ(Cell(*table, row, SearchDialog::kAcquiredColumn),
                      Joined(Member(a, "acquired")));
            acquiring += Member(a, "acquired").Items.empty() ? 0 : 1;
            const json::Value& gain = Member(a, "gain");
            if (next) {
                ++gains;
                // Signed as the answer's: an answer acquiring something may do worse.
                const QString shown = Cell(*table, row, SearchDialog::kGainColumn);
                const QString size = QString::number(std::abs(gain.Int));
                const bool leastPP = objective == static_cast<int>(SearchObjective::LeastPP);
                EXPECT_TRUE(gain.Type == json::Value::Kind::Null
                                ? shown == Q(DialogText(DialogTextId::GainNone))
                            : leastPP ? shown.startsWith(size + " PP ") &&
                                            (gain.Int < 0) ==
                                                (shown == Q(DialogText(DialogTextId::GainPPMore,
                                                                       {size.toStdString()})))
                                      : shown.startsWith((gain.Int < 0 ? "-" : "+") + size))
                    << shown.toStdString() << " " << gain.Int;
            }
        }
        // The picked answer lists what it acquires before its changes.
        if (!answers.Items.empty()) {
            const json::Value& first = Member(answers.Items[0], "acquired");
            auto* changes = Find<QListWidget>(*dialog, "SearchChanges");
            for (size_t i = 0; i < first.Items.size(); ++i) {
                EXPECT_EQ(changes->item(1 + static_cast<int>(i))->text(),
                          Q(DialogText(DialogTextId::AcquiredLine, {first.Items[i].Text})));
            }
        }
        if (next) {
            EXPECT_FALSE(Find<QLabel>(*dialog, "SearchMessage")->isHidden());
            SaveShot(*dialog, QStringLiteral("search-next-to-get-window-%1").arg(round));
        }
    }
    EXPECT_GT(acquiring, 3);
    EXPECT_GT(gains, 3);
}
