// The toolkit's forms, graphic controls, timers and tool bar with real windows.

#include "WinTestSupport.h"

#include "ui/Form.h"
#include "ui/ImageList.h"
#include "ui/Shape.h"
#include "ui/Timer.h"
#include "ui/ToolBar.h"

using namespace std::chrono_literals;

namespace {

class TestForm : public ui::Form {
public:
    explicit TestForm(const ui::FormParams& params) : ui::Form(params) {}
    ~TestForm() override { DestroyHandle(); }
    using ui::Form::DoCreate;
};

ui::FormParams Params(int width = 300, int height = 200) {
    ui::FormParams p;
    p.className = L"TTestForm";
    p.caption = L"test";
    p.left = 50;
    p.top = 60;
    p.width = width;
    p.height = height;
    return p;
}

ui::ToolBar::Params GridParams() {
    ui::ToolBar::Params p;
    p.width = 229;
    p.height = 192;
    p.indent = 1;
    p.buttonWidth = 38;
    p.buttonHeight = 38;
    return p;
}

class ToolBarTest : public wintest::AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        form = app->CreateForm<TestForm>(Params());
        bar = std::make_unique<ui::ToolBar>(*form, GridParams());
        images.SetSize(32, 32);
        bar->SetImages(&images);
        for (int i = 0; i < 30; ++i)
            bar->AddButton(L"ToolButton" + std::to_wstring(i + 1), L"x", i);
        bar->SetWidth(229);
    }
    void TearDown() override {
        bar.reset();
        AppTest::TearDown();
    }
    TestForm* form = nullptr;
    ui::ImageList images;
    std::unique_ptr<ui::ToolBar> bar;
};

} // namespace

TEST_F(ToolBarTest, DesignWidthHoldsFiveRowsOfSixAtTheDesignPositions) {
    EXPECT_EQ(bar->ButtonWidth(), 38);
    EXPECT_EQ(bar->ButtonHeight(), 38);
    EXPECT_EQ(bar->RowCount(), 5);
    EXPECT_EQ(bar->Width(), 229);
    EXPECT_EQ(bar->Height(), 192);
    for (int i = 0; i < 30; ++i) {
        RECT r = bar->Button(i).ItemRect();
        EXPECT_EQ(r.left, 1 + 38 * (i % 6)) << "button " << i + 1;
        EXPECT_EQ(r.top, 2 + 38 * (i / 6)) << "button " << i + 1;
    }
}

TEST_F(ToolBarTest, WidthRewrapsToWholeButtons) {
    bar->SetWidth(200); // room for five
    EXPECT_EQ(bar->Width(), 1 + 5 * 38);
    EXPECT_EQ(bar->RowCount(), 6);
    bar->SetWidth(30); // not even one: still one per row
    EXPECT_EQ(bar->Width(), 1 + 38);
    EXPECT_EQ(bar->RowCount(), 30);
    EXPECT_EQ(bar->Height(), 2 + 30 * 38);
    bar->SetWidth(1 + 10 * 38);
    EXPECT_EQ(bar->RowCount(), 3);
}

TEST_F(ToolBarTest, CaptionsMakeButtonsTallerAndOffRestoresTheHeight) {
    bar->SetShowCaptions(true);
    int tall = bar->ButtonHeight();
    EXPECT_GT(tall, 38);
    EXPECT_EQ(bar->Height(), 2 + 5 * tall);
    bar->SetShowCaptions(false);
    bar->SetButtonHeight(38);
    EXPECT_EQ(bar->ButtonHeight(), 38);
    EXPECT_EQ(bar->Height(), 192);
}
