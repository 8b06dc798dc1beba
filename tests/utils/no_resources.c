/* A DLL without a single resource: no module of it holds the message box's template. */
__declspec(dllexport) int velNoResources(void)
{
    return 0;
}
