// Linked with one layer whole and the layers below it: the link fails when the
// layer calls into a higher one.
int main()
{
    return 0;
}
