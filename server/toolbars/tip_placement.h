// Where the tooltip goes: just below and right of the cursor, kept on the screen.
#pragma once

namespace tessel::toolbars {

struct TipPoint {
  int x = 0;
  int y = 0;
};

struct TipSize {
  int cx = 0;
  int cy = 0;
  bool operator==(const TipSize&) const = default;
};

struct TipRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  bool operator==(const TipRect&) const = default;
};

// Offsets from the cursor hot spot: 22 pixels down clears a standard arrow
// cursor; the same distance above is used when the tip would leave the bottom.
inline constexpr int kTipOffsetLeft = 2;
inline constexpr int kTipOffsetDown = 22;
inline constexpr int kTipScreenMargin = 2;

// Rectangle for a tip of the given size shown at the cursor, in screen
// coordinates, moved back inside a screen of the given size.
TipRect PlaceTip(TipPoint cursor, TipSize tip, TipSize screen);

}  // namespace tessel::toolbars
