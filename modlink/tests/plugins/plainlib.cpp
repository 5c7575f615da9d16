// A shared library without plugin metadata.
extern "C" int kxtest_plain_answer()
{
    return 7;
}
