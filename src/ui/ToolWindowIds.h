#pragma once
// The controls every list window has, which their tests look at.
namespace discovel::toolWindowIds {

inline constexpr int kListView1 = 130;
inline constexpr int kSb1 = 131;
inline constexpr int kProgressBar1 = 132;

}  // namespace discovel::toolWindowIds
