extern "C" int kxtest_gone_answer()
{
    return 42;
}
