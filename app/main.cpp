#include "app/startup.h"

int main(int argc, char** argv) { return qel::processEntry(argc, argv); }
