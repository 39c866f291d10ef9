// Prints the accuracy tables of the special functions.

#include <cstdio>

void reportAccuracyPart1();
#ifdef SUPPLINK_HAVE_ACCURACY2
void reportAccuracyPart2();
#endif

int main()
{
    reportAccuracyPart1();
#ifdef SUPPLINK_HAVE_ACCURACY2
    std::printf("\n");
    reportAccuracyPart2();
#endif
    return 0;
}
