#pragma once
// The controls every list window has, which their tests look at.
namespace discovel::toolWindowIds {

enum : int { kListView1 = 130, kSb1, kProgressBar1 };

}  // namespace discovel::toolWindowIds
