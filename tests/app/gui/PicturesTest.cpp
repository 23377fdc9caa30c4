// Every picture is built into the program and renders at its size.
#include <gtest/gtest.h>

#include "Pictures.h"

namespace vigilon::test {
namespace {

using app::Picture;

TEST(Pictures, EveryPictureRendersAtItsNaturalSizeAndScaled) {
    for (Picture picture :
         {Picture::AppIcon, Picture::LampIdle, Picture::LampOnline, Picture::LampTargetDown,
          Picture::TrayIdle, Picture::TrayOnline, Picture::TrayOffline, Picture::Banner}) {
        const wxBitmapBundle bundle = app::PictureBundle(picture);
        ASSERT_TRUE(bundle.IsOk()) << static_cast<int>(picture);
        const wxSize natural = app::PictureSize(picture);
        EXPECT_EQ(bundle.GetBitmap(natural).GetSize(), natural);
        EXPECT_EQ(bundle.GetBitmap(natural * 2).GetSize(), natural * 2);
    }
    EXPECT_GE(app::AppIconBundle().GetIconCount(), 5u);
}

TEST(Pictures, LampsDifferInColour) {
    auto centre = [](Picture picture) {
        wxImage image = app::PictureBundle(picture).GetBitmap(wxSize(24, 23)).ConvertToImage();
        return wxColour(image.GetRed(12, 11), image.GetGreen(12, 11), image.GetBlue(12, 11));
    };
    const wxColour idle = centre(Picture::LampIdle), online = centre(Picture::LampOnline),
                   down = centre(Picture::LampTargetDown);
    EXPECT_GT(online.Green(), idle.Green()) << "online is the brighter green";
    EXPECT_GT(down.Red(), down.Green()) << "target down is red";
}

}  // namespace
}  // namespace vigilon::test
