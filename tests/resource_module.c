/* A module that only carries resources (the program's templates, texts and bitmaps). */
int ZentilResourceModule(void)
{
    return 1;
}
