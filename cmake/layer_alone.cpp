// Linked with one layer's library whole and the layers below it: proves the layer needs
// nothing from above.
int main() {
    return 0;
}
