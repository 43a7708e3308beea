#include "optimizer/rpcut.h"
#include <cstdio>
int main() {
    using namespace optimizer;
    RandomSource rnd(42);
    CutSettings s; s.bladeWidth = 3; s.stubLength = 10;
    rpCut cut(s, rnd);
    float lens[] = {1200, 950, 800, 640, 433, 300, 250};
    int qty[] = {10, 12, 20, 16, 30, 25, 40};
    for (int i = 0; i < 7; ++i) { strPart p; p.row = i+2; p.length = lens[i]; p.qty = qty[i]; p.label = "P" + std::to_string(i); p.lengthText = std::to_string((int)lens[i]); cut.parts.push_back(p);}
    strStock a; a.length = 6000; a.qty = 30; a.priority = true; a.label="S6000"; cut.stocks.push_back(a);
    strStock b; b.length = 4000; b.qty = 30; b.priority = true; b.label="S4000"; cut.stocks.push_back(b);
    cut.partCount = 7; cut.stockCount = 2; cut.maxStockLength = 6000;
    int r = cut.runSearch();
    printf("result %d gen %d\n", r, cut.generation);
    if (r == 0) { auto plan = cut.takeResult(0); printf("ratio %.4f patterns %d score %g\n", plan.ratio, plan.patternCount, plan.score);
      for (auto& p : plan.patterns) { printf("stock %d x%d waste %g:", p.stock, p.times, p.waste); for (int e=0;e<p.entries;++e) printf(" %d*%d", p.part[e], p.count[e]); printf("\n"); } }
}
