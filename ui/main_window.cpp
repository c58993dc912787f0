#include "ui/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalBlocker>
#include <QToolTip>
#include <algorithm>
#include <array>
#include <string_view>

#include "characters/cards.h"
#include "characters/catalogue.h"
#include "characters/roster.h"
#include "clubs/caddies.h"
#include "clubs/club_upgrades.h"
#include "clubs/clubs.h"
#include "engine/errors.h"
#include "engine/levels.h"
#include "settings/settings_path.h"
#include "simulator/persistence.h"
#include "ui/chara_tabs.h"
#include "ui/hint_timing.h"
#include "ui/look.h"
#include "ui/widgets.h"

namespace {

const QString kTitle = QStringLiteral("ケストレル ステータスシミュレータ");
const QString kMessageCaption = QStringLiteral("Kestrel Status Simulator");

constexpr int kListHeight = 20;
constexpr int kCardListHeight = 19;
constexpr int kRowPitch = 24;

constexpr std::array<const char*, kStatCount> kStatCaptions = {"パワー", "コントロール", "正確度",
                                                               "スピン", "カーブ"};

// The PP-since-save and PP-total labels of each character page.
constexpr std::array<std::array<const char*, 2>, CharaCount> kPagePPLabels = {{
    {"Label32", "Label123"},
    {"Label47", "Label124"},
    {"Label49", "Label125"},
    {"Label51", "Label126"},
    {"Label65", "Label127"},
    {"Label107", "Label128"},
    {"Label121", "Label129"},
    {"Label163", "Label164"},
    {"Label201", "Label202"},
    {"Label310", "Label311"},
}};

const std::string kPPNeededHint = "保存した状態からの必要PP";
const std::string kPPTotalHint = "初期状態から現在までにかかったPP";

QString Q(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The core keeps CR as the line break of its hints; a label draws CR as a blank.
QString HintText(const std::string& text) {
    QString hint = Q(text);
    hint.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return hint;
}

void SetTextColour(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
}

QGroupBox* MakeGroup(QWidget* parent, const QString& name, const QString& caption, QRect place) {
    auto* group = new QGroupBox(caption, parent);
    if (!name.isEmpty()) {
        group->setObjectName(name);
    }
    group->setGeometry(place);
    return group;
}

FitLabel* MakeLabel(QWidget* parent, const QString& text, int left, int top,
                    FitLabel::Anchor anchor = FitLabel::Anchor::Left, int width = 0) {
    auto* label = new FitLabel(parent, text, anchor);
    label->Place(left, top, width);
    return label;
}

// A caption in another font or colour than the window's.
FitLabel* MakeCaption(QWidget* parent, const QString& text, int left, int top,
                      const QColor& colour = QColor(), int pixels = 0) {
    auto* label = new FitLabel(parent, text, FitLabel::Anchor::Left);
    if (pixels > 0) {
        label->setFont(PixelFont(kUiGothic, pixels));
    }
    if (colour.isValid()) {
        SetTextColour(label, colour);
    }
    label->Place(left, top);
    return label;
}

// The red, bold PP and status figures.
void MakeFigureLook(QWidget* label, const QString& family = kPGothic) {
    label->setFont(PixelFont(family, 15, true));
    SetTextColour(label, kRed);
}

void SetStaticHint(QWidget* widget, const std::string& hint) {
    widget->setToolTip(HintText(hint));
    widget->setCursor(Qt::WhatsThisCursor);
}

// How many rows a wear-slot list shows at once: the smallest of the window's row
// counts that holds every entry, at most 30.
int RowsFor(size_t entries) {
    for (int rows : {8, 10, 15, 20}) {
        if (entries <= static_cast<size_t>(rows)) {
            return rows;
        }
    }
    return 30;
}

QPushButton* MakeButton(QWidget* parent, const QString& name, const QString& caption, QRect place) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(place);
    button->setCursor(Qt::PointingHandCursor);
    button->setAutoDefault(false);
    return button;
}

}  // namespace

TForm1::TForm1() : QWidget(nullptr) {
    Build();
    RunCreationLoad();
}

TForm1::TForm1(std::string iniPath, TLoadTime loadTime)
    : QWidget(nullptr), iniPath_(std::move(iniPath)) {
    Build();
    if (loadTime == TLoadTime::AtCreation) {
        RunCreationLoad();
    }
}

TForm1::~TForm1() = default;

void TForm1::RunCreationLoad() {
    RevertClicked();
}

void TForm1::Build() {
    InstallFontStandIns();
    InstallHintTiming();

    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(kTitle);
    setFixedSize(633, 650);
    setWindowFlag(Qt::WindowMaximizeButtonHint, false);
    setFont(PixelFont(kUiGothic, 12));
    QToolTip::setFont(PixelFont(kUiGothic, 12));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, kWindowColour);
    setPalette(palette);
    setAutoFillBackground(true);

    BuildCharaGroup();
    BuildSpecialCardGroup();
    BuildCaddieGroup();
    BuildClubGroup();
    BuildFinalGroup();
    Render();
}

QGroupBox* TForm1::BuildCharaGroup() {
    QGroupBox* group = MakeGroup(this, QStringLiteral("GroupBox1"), QStringLiteral("キャラ・装備"),
                                 QRect(8, 8, 425, 489));
    MakeLabel(group, QStringLiteral("レベル"), 8, 16);
    PickList* level = MakeList(group, QStringLiteral("ComboBox1"), QRect(8, 32, 145, kListHeight),
                               20, &sim_.State.Level);
    for (std::string_view name : kLevelNames) {
        level->addItem(Q(name));
    }
    level->setCurrentIndex(0);

    MakeLabel(group, QStringLiteral("キャラクター"), 8, 56);
    pages_ = new TCharaPageControl(group);
    pages_->setObjectName(QStringLiteral("PageControl1"));
    pages_->setGeometry(8, 72, 409, 409);
    for (int c = 0; c < CharaCount; ++c) {
        pages_->addTab(BuildCharaPage(c), Q(CharaDef(c).Caption));
    }
    pages_->AddNoPage();
    pages_->setCurrentIndex(0);
    connect(pages_, &QTabWidget::currentChanged, this, &TForm1::PageChanged);
    return group;
}

QWidget* TForm1::BuildCharaPage(int chara) {
    // Made inside the page control, so that its labels measure their texts in the
    // window's font.
    auto* page = new QWidget(pages_);
    page->setObjectName(QStringLiteral("TabSheet%1").arg(chara + 1));
    BuildEquipGroup(page, chara);
    BuildCardGroup(page, chara);
    BuildSlotGroup(page, chara);
    return page;
}

void TForm1::BuildEquipGroup(QWidget* page, int chara) {
    const TCharaDef& def = CharaDef(chara);
    QGroupBox* group =
        MakeGroup(page, QString(), QStringLiteral("ステータスUP装備"), QRect(8, 0, 209, 377));
    const QFontMetrics metrics(font());
    int top = 16;
    for (TWearSlot slot : def.PageRows) {
        const int position = *SlotPosition(chara, slot);
        FitLabel* caption = MakeLabel(group, Q(WearSlotCaption(slot)), 8, top + 4);
        const std::string_view captionHint = def.CaptionHints[position];
        if (!captionHint.empty()) {
            SetStaticHint(caption, std::string(captionHint));
        }

        const auto entries = EquipList(chara, position);
        int textWidth = 0;
        for (const TEquipEntry& entry : entries) {
            textWidth = std::max(textWidth, metrics.horizontalAdvance(Q(entry.Text)));
        }
        const int width = std::clamp(textWidth + 28, 121, 161);
        const QString name = QStringLiteral("ComboBox_%1%2").arg(Q(def.Name), Q(WearSlotKey(slot)));
        PickList* list =
            MakeList(group, name, QRect(40, top, width, kListHeight), RowsFor(entries.size()),
                     &sim_.State.Chara[chara].Items[position]);
        for (const TEquipEntry& entry : entries) {
            list->addItem(Q(entry.Text));
        }
        list->setCurrentIndex(0);

        TCharaPageDisplay& shown = sim_.Display.Pages[chara];
        switch (slot) {
            case TWearSlot::Top:
                SetStaticHint(list, std::string(kSeparatesHint));
                enables_.push_back({list, &shown.TopEnabled});
                break;
            case TWearSlot::Pants:
                SetStaticHint(list, std::string(kSeparatesHint));
                enables_.push_back({list, &shown.PantsEnabled});
                break;
            case TWearSlot::TopPants:
                SetStaticHint(list, std::string(kOutfitHint));
                enables_.push_back({list, &shown.TopPantsEnabled});
                break;
            case TWearSlot::Waist:
                SetStaticHint(list, std::string(kWaistHint));
                enables_.push_back({list, &shown.WaistEnabled});
                break;
            default:
                break;
        }
        top += kRowPitch;
    }
}

void TForm1::BuildCardGroup(QWidget* page, int chara) {
    const TCharaDef& def = CharaDef(chara);
    QGroupBox* group =
        MakeGroup(page, Q(def.CardGroupName), QStringLiteral("カード"), QRect(224, 0, 169, 153));
    TCharaState& state = sim_.State.Chara[chara];
    TCharaPageDisplay& shown = sim_.Display.Pages[chara];
    const QFont cardFont = PixelFont(kUiGothic, 11);

    struct CardRow {
        const char* Key;
        const char* Caption;
        int Top;
        int Rows;
        int32_t* Field;
        const std::vector<std::string>* Items;
    };
    const CardRow rows[] = {
        {"CharaCard1", "上", 28, 30, &state.CharaCard1, &shown.CharaCardItems[0]},
        {"CharaCard2", "下", 48, 30, &state.CharaCard2, &shown.CharaCardItems[1]},
        {"CharaCard3", "頭", 68, 30, &state.CharaCard3, &shown.CharaCardItems[2]},
        {"CaddieCard1", "上", 104, 15, &state.CaddieCard1, &shown.CaddieCardItems[0]},
        {"CaddieCard2", "靴", 124, 15, &state.CaddieCard2, &shown.CaddieCardItems[1]},
    };
    MakeLabel(group, QStringLiteral("キャラクターカード"), 8, 14);
    MakeLabel(group, QStringLiteral("キャディカード"), 8, 90);
    for (const CardRow& row : rows) {
        MakeLabel(group, QString::fromUtf8(row.Caption), 8, row.Top + 3);
        const QString name = QStringLiteral("cb%1%2").arg(Q(def.Name), QLatin1String(row.Key));
        PickList* list =
            MakeList(group, name, QRect(24, row.Top, 129, kCardListHeight), row.Rows, row.Field);
        list->setFont(cardFont);
        for (const std::string& text : *row.Items) {
            list->addItem(Q(text));
        }
        list->setCurrentIndex(0);
        items_.push_back({list, row.Items, *row.Items});
    }
}

void TForm1::BuildSlotGroup(QWidget* page, int chara) {
    QGroupBox* group =
        MakeGroup(page, QString(), QStringLiteral("スロット強化"), QRect(224, 160, 169, 217));
    TCharaState& state = sim_.State.Chara[chara];
    TCharaPageDisplay& shown = sim_.Display.Pages[chara];
    for (int j = 0; j < kStatCount; ++j) {
        const int top = 16 + j * kRowPitch;
        const int n = 5 * chara + j + 1;
        MakeLabel(group, QString::fromUtf8(kStatCaptions[j]), 16, top + 4);
        StepSpinner* spinner =
            MakeSpinner(group, QStringLiteral("UpDown%1").arg(n), QStringLiteral("Edit%1").arg(n),
                        QPoint(88, top), CharaSpinnerMax(j));
        int32_t* position = &SlotUpField(state, j);
        spinners_.push_back({spinner, position, nullptr});
        connect(spinner, &QSpinBox::valueChanged, this,
                [this, position](int value) { CharaSpinnerStepped(position, value); });
        BindHint(spinner, shown.SpinnerHint[j], nullptr, false);

        FitLabel* limit = MakeLabel(group, QStringLiteral("/0"), 136, top + 8);
        limit->setObjectName(QStringLiteral("Label_S%1").arg(n));
        BindText(limit, shown.SlotLimitText[j]);
    }
    MakeCaption(group, QStringLiteral("キャラ強化に必要なPP"), 16, 144, kBlue);

    FitLabel* needed = MakeLabel(group, QStringLiteral("0 PP"), 80, 168, FitLabel::Anchor::Right);
    MakeFigureLook(needed);
    needed->Place(80, 168);
    needed->setObjectName(QLatin1String(kPagePPLabels[chara][0]));
    SetStaticHint(needed, kPPNeededHint);
    BindText(needed, shown.PPNeededText);

    FitLabel* total = MakeLabel(group, QStringLiteral("(0 PP)"), 80, 192, FitLabel::Anchor::Right);
    total->setObjectName(QLatin1String(kPagePPLabels[chara][1]));
    SetStaticHint(total, kPPTotalHint);
    BindText(total, shown.PPTotalText);
}

QGroupBox* TForm1::BuildSpecialCardGroup() {
    QGroupBox* group = MakeGroup(this, QStringLiteral("gbSpecialCard"),
                                 QStringLiteral("スペシャルカード"), QRect(440, 8, 185, 65));
    PickList* list = MakeList(group, QStringLiteral("cbSpecialCard"),
                              QRect(8, 24, 129, kListHeight), 30, &sim_.State.SpecialCard);
    for (std::string_view text : kSpecialCardTexts) {
        list->addItem(Q(text));
    }
    list->setCurrentIndex(0);
    return group;
}

QGroupBox* TForm1::BuildCaddieGroup() {
    QGroupBox* group = MakeGroup(this, QStringLiteral("GroupBox3"), QStringLiteral("キャディ"),
                                 QRect(440, 80, 185, 89));
    PickList* list = MakeList(group, QStringLiteral("ComboBox3"), QRect(8, 16, 129, kListHeight),
                              30, &sim_.State.Caddie);
    for (const TCaddie& caddie : Caddies()) {
        list->addItem(Q(caddie.Name));
    }
    list->setCurrentIndex(0);
    FitLabel* effect = MakeCaption(group, QStringLiteral("キャディの効果"), 8, 56, kBlue);
    effect->setObjectName(QStringLiteral("Label_CaddieEffect"));
    BindText(effect, sim_.Display.CaddieEffectText);
    return group;
}

QGroupBox* TForm1::BuildClubGroup() {
    QGroupBox* group = MakeGroup(this, QStringLiteral("GroupBox2"), QStringLiteral("クラブ"),
                                 QRect(440, 176, 185, 321));
    auto* clubList = new PickList(group);
    clubList->setObjectName(QStringLiteral("ComboBox2"));
    clubList->setGeometry(8, 16, 145, kListHeight);
    clubList->setMaxVisibleItems(40);
    for (const TClubSet& set : ClubSets()) {
        clubList->addItem(Q(set.Caption));
    }
    clubList->setCurrentIndex(0);
    lists_.push_back({clubList, &sim_.State.Club});
    connect(clubList, &QComboBox::activated, this, &TForm1::ClubPicked);
    connect(clubList, &PickList::opening, this, &TForm1::ClubListOpening);

    QPushButton* fullTune = MakeButton(group, QStringLiteral("Button_ClubFullTune"),
                                       QStringLiteral("F"), QRect(158, 16, 19, 19));
    BindHint(fullTune, sim_.Display.FullTuneHint, nullptr, false);
    connect(fullTune, &QPushButton::clicked, this, &TForm1::FullTuneClicked);

    TDisplay& shown = sim_.Display;
    for (int i = 0; i < kStatCount; ++i) {
        const int top = 48 + i * kRowPitch;
        MakeLabel(group, QString::fromUtf8(kStatCaptions[i]), 8, top + 4);
        FitLabel* base =
            MakeLabel(group, QStringLiteral("0"), 72, top + 4, FitLabel::Anchor::Fixed, 17);
        base->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        base->setObjectName(QStringLiteral("Label_Club%1").arg(i + 1));
        BindText(base, shown.ClubBaseText[i]);
        MakeLabel(group, QStringLiteral("+"), 96, top + 4);

        StepSpinner* spinner =
            MakeSpinner(group, QStringLiteral("UpDown_Club%1").arg(i + 1),
                        QStringLiteral("Edit_Club%1").arg(i + 1), QPoint(112, top), 10);
        TSpinner& model = sim_.State.ClubSpinners[i];
        spinners_.push_back({spinner, &model.Position, &model.Max});
        connect(spinner, &QSpinBox::valueChanged, this,
                [this, i](int value) { ClubSpinnerStepped(i, value); });
        BindHint(spinner, shown.ClubSpinnerHint[i], nullptr, false);

        FitLabel* limit = MakeLabel(group, QStringLiteral("/0"), 160, top + 8);
        limit->setObjectName(QStringLiteral("Label_ClubSlot%1").arg(i + 1));
        BindText(limit, shown.ClubSlotText[i]);
    }
    MakeCaption(group, QStringLiteral("クラブ強化に必要なPP"), 24, 232, kBlue);

    FitLabel* needed = MakeLabel(group, QStringLiteral("0 PP"), 88, 256, FitLabel::Anchor::Right);
    MakeFigureLook(needed);
    needed->Place(88, 256);
    needed->setObjectName(QStringLiteral("Label30"));
    SetStaticHint(needed, kPPNeededHint);
    BindText(needed, shown.ClubPPNeededText);

    FitLabel* total = MakeLabel(group, QStringLiteral("(0 PP)"), 89, 280, FitLabel::Anchor::Right);
    total->setObjectName(QStringLiteral("Label122"));
    SetStaticHint(total, kPPTotalHint);
    BindText(total, shown.ClubPPTotalText);
    return group;
}

QGroupBox* TForm1::BuildFinalGroup() {
    QGroupBox* group = MakeGroup(this, QStringLiteral("GroupBox14"),
                                 QStringLiteral("最終的なステータス"), QRect(8, 504, 617, 137));
    TDisplay& shown = sim_.Display;
    const QColor captionColours[kStatCount] = {QColor(255, 34, 0), QColor(255, 153, 0),
                                               QColor(0, 187, 0), QColor(0, 170, 255),
                                               QColor(136, 0, 255)};
    const char* finalNames[kStatCount] = {"Label_LastPow", "Label_LastCtrl", "Label_LastExa",
                                          "Label_LastSpin", "Label_LastCur"};
    for (int i = 0; i < kStatCount; ++i) {
        const int top = 16 + i * kRowPitch;
        auto* caption =
            new FitLabel(group, QString::fromUtf8(kStatCaptions[i]), FitLabel::Anchor::Left);
        caption->setObjectName(QStringLiteral("Label%1").arg(13 + i));
        caption->setFont(PixelFont(kUiGothic, 12, true));
        SetTextColour(caption, captionColours[i]);
        caption->Place(24, top);
        BindHint(caption, shown.StatCaptionHint[i], nullptr, true);

        auto* value = new FitLabel(group, QStringLiteral("0"), FitLabel::Anchor::Fixed);
        value->setObjectName(QLatin1String(finalNames[i]));
        MakeFigureLook(value);
        value->setAlignment(Qt::AlignRight | Qt::AlignTop);
        value->Place(112, top, 25);
        BindText(value, shown.Last[i].Text);
        BindHint(value, shown.Last[i].Hint, &shown.Last[i].HintOn, true);
    }

    THintedLabel* penalties[2] = {&shown.ControlPenalty, &shown.AccuracyPenalty};
    const int penaltyTops[2] = {43, 66};
    for (int k = 0; k < 2; ++k) {
        auto* penalty = new FitLabel(group, QStringLiteral("(-0)"), FitLabel::Anchor::Left);
        penalty->setObjectName(QStringLiteral("Label%1").arg(18 + k));
        penalty->setFont(PixelFont(kPGothic, 12));
        penalty->Place(144, penaltyTops[k]);
        BindText(penalty, penalties[k]->Text);
        BindHint(penalty, penalties[k]->Hint, &penalties[k]->HintOn, true);
    }

    MakeCaption(group, QStringLiteral("1Wの飛距離(通常)"), 240, 16, kBlue, 13);
    FitLabel* power = MakeCaption(group, QStringLiteral("(パワー)"), 240, 40, kBlue, 13);
    // The two captions stand side by side; where the first is wider than the 40 pixels
    // before the second, the second moves right instead of covering its last letter.
    MakeCaption(group, QStringLiteral("(パワー×2)"), std::max(280, power->geometry().right() + 1),
                40, kBlue, 13);
    struct Distance {
        const char* Name;
        const char* Initial;
        int Left;
        int Top;
        const char* Hint;
        const std::string* Text;
    };
    const Distance distances[] = {
        {"Label22", "230y", 360, 13, "1Wの飛距離(通常)", &shown.DistanceNormalText},
        {"Label23", "240y", 360, 38, "1Wの飛距離(パワー)", &shown.DistancePowerText},
        {"Label174", "250y", 408, 38, "1Wの飛距離(パワー×2)", &shown.DistancePower2Text},
    };
    for (const Distance& d : distances) {
        auto* label = new FitLabel(group, QString::fromUtf8(d.Initial), FitLabel::Anchor::Fixed);
        label->setObjectName(QLatin1String(d.Name));
        MakeFigureLook(label, kUiGothic);
        label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        label->Place(d.Left, d.Top, 35);
        SetStaticHint(label, d.Hint);
        BindText(label, *d.Text);
    }

    MakeCaption(group, QStringLiteral("キャラ強化+クラブ強化に必要なPP"), 240, 80, kBlue, 13);
    auto* total = new FitLabel(group, QStringLiteral("0 PP"), FitLabel::Anchor::Right);
    total->setObjectName(QStringLiteral("Label67"));
    MakeFigureLook(total);
    total->Place(360, 104);
    SetStaticHint(total, "キャラ+クラブの合計必要PP");
    BindText(total, shown.TotalPPText);

    QPushButton* save = MakeButton(group, QStringLiteral("Button1"),
                                   QStringLiteral("現在の設定を保存"), QRect(480, 24, 105, 33));
    BindHint(save, shown.SaveButtonHint, nullptr, false);
    connect(save, &QPushButton::clicked, this, &TForm1::SaveClicked);

    QPushButton* revert = MakeButton(group, QStringLiteral("Button2"),
                                     QStringLiteral("保存した状態に戻す"), QRect(480, 80, 105, 33));
    revert->setToolTip(QStringLiteral("設定を保存したときの状態に戻せます。"));
    connect(revert, &QPushButton::clicked, this, &TForm1::RevertClicked);
    return group;
}

PickList* TForm1::MakeList(QWidget* parent, const QString& name, QRect place, int rows,
                           int32_t* field) {
    auto* list = new PickList(parent);
    list->setObjectName(name);
    list->setGeometry(place);
    list->setMaxVisibleItems(rows);
    lists_.push_back({list, field});
    connect(list, &QComboBox::activated, this,
            [this, field](int index) { ListPicked(field, index); });
    return list;
}

StepSpinner* TForm1::MakeSpinner(QWidget* parent, const QString& name, const QString& editName,
                                 QPoint place, int max) {
    auto* spinner = new StepSpinner(parent, editName);
    spinner->setObjectName(name);
    spinner->setGeometry(place.x(), place.y(), 25 + 16, kListHeight);
    spinner->setRange(0, max);
    spinner->setValue(0);
    return spinner;
}

FitLabel* TForm1::BindText(FitLabel* label, const std::string& text) {
    texts_.push_back({label, &text, label->text().toStdString()});
    return label;
}

void TForm1::BindHint(QWidget* widget, const std::string& hint, const bool* on, bool helpCursor) {
    hints_.push_back({widget, &hint, on, helpCursor, {}, false});
}

template <class Operation>
void TForm1::Run(Operation&& operation, bool movesWindow) {
    std::optional<std::string> failure;
    try {
        operation(sim_);
    } catch (const ESimError& error) {
        failure = error.what();
    }
    Render();
    if (movesWindow) {
        move(sim_.Window.Left, sim_.Window.Top);
    }
    if (failure) {
        ShowError(*failure);
    }
}

void TForm1::ListPicked(int32_t* field, int index) {
    *field = index;
    Run(ComboBox1Change);
}

void TForm1::ClubPicked(int index) {
    sim_.State.Club = index;
    Run(ClubChange);
}

void TForm1::ClubListOpening() {
    Run(ComboBox2DropDown);
}

void TForm1::CharaSpinnerStepped(int32_t* position, int value) {
    *position = value;
    Run(ComboBox1Change);
}

void TForm1::ClubSpinnerStepped(int stat, int value) {
    sim_.State.ClubSpinners[stat].SetPosition(value);
    Run(ComboBox1Change);
}

void TForm1::PageChanged() {
    const int page = pages_->ShownPage();
    if (page < 0) {
        return;
    }
    sim_.State.TabIndex = page;
    Run(ComboBox1Change);
}

void TForm1::FullTuneClicked() {
    Run(ClubFullTune);
}

void TForm1::SaveClicked() {
    StoreWindowPosition();
    Run([this](TSimulator& sim) { Button1Click(sim, SettingsPath()); }, true);
}

void TForm1::RevertClicked() {
    Run([this](TSimulator& sim) { FormCreate(sim, SettingsPath()); }, true);
}

void TForm1::closeEvent(QCloseEvent* event) {
    StoreWindowPosition();
    try {
        FormClose(sim_, SettingsPath());
    } catch (const ESimError& error) {
        // The window closes all the same; the user learns that the position and page
        // were not kept.
        ShowError(error.what());
    }
    event->accept();
}

void TForm1::Render() {
    for (ItemsBinding& b : items_) {
        if (*b.Items != b.Shown) {
            const QSignalBlocker blocker(b.List);
            b.List->clear();
            for (const std::string& text : *b.Items) {
                b.List->addItem(Q(text));
            }
            b.Shown = *b.Items;
        }
    }
    for (const ListBinding& b : lists_) {
        const int index = (*b.Index >= 0 && *b.Index < b.List->count()) ? *b.Index : -1;
        if (b.List->currentIndex() != index) {
            const QSignalBlocker blocker(b.List);
            b.List->setCurrentIndex(index);
        }
    }
    for (const EnableBinding& b : enables_) {
        if (b.Widget->isEnabled() != *b.Enabled) {
            b.Widget->setEnabled(*b.Enabled);
        }
    }
    for (const SpinBinding& b : spinners_) {
        const QSignalBlocker blocker(b.Spinner);
        if (b.Max != nullptr && b.Spinner->maximum() != *b.Max) {
            b.Spinner->setMaximum(*b.Max);
        }
        if (b.Spinner->value() != *b.Position) {
            b.Spinner->setValue(*b.Position);
        }
    }
    for (TextBinding& b : texts_) {
        if (*b.Text != b.Shown) {
            b.Label->SetFitText(Q(*b.Text));
            b.Shown = *b.Text;
        }
    }
    for (HintBinding& b : hints_) {
        static const std::string kNone;
        const std::string& hint = (b.On == nullptr || *b.On) ? *b.Hint : kNone;
        if (!b.Applied || hint != b.Shown) {
            b.Widget->setToolTip(HintText(hint));
            if (b.HelpCursor) {
                if (hint.empty()) {
                    b.Widget->unsetCursor();
                } else {
                    b.Widget->setCursor(Qt::WhatsThisCursor);
                }
            }
            b.Shown = hint;
            b.Applied = true;
        }
    }
    const int32_t tab = sim_.State.TabIndex;
    const int page = (tab >= 0 && tab < CharaCount) ? tab : -1;
    if (pages_->ShownPage() != page) {
        const QSignalBlocker blocker(pages_);
        pages_->ShowPage(page);
    }
    if (sim_.Display.HintPauseMs != HintPauseMs() ||
        sim_.Display.HintHidePauseMs != HintHidePauseMs()) {
        SetHintTiming(sim_.Display.HintPauseMs, sim_.Display.HintHidePauseMs);
    }
}

void TForm1::ShowError(const std::string& message) {
    QMessageBox box(QMessageBox::Critical, kMessageCaption, Q(message) + QLatin1Char('.'),
                    QMessageBox::Ok, this);
    box.exec();
}

std::string TForm1::SettingsPath() const {
    return iniPath_ ? *iniPath_ : SettingsFilePath();
}

void TForm1::StoreWindowPosition() {
    sim_.Window.Left = x();
    sim_.Window.Top = y();
}
