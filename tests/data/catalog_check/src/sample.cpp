// The texts of a small program, for the test of the catalog check.
void sample()
{
    translate("Calc");
    translate("Stop");
    translatable("Blade Width:");
    translate("Stub Length:");
    translate("Total cost= ");
}
