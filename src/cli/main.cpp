// quarrix-cli: the trigger list tools of Quarrix for a terminal.
int main() { return 0; }
