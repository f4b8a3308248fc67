#include "app/editor_session.h"

int main(int argc, char** argv) { return orvane::runEditor(argc, argv); }
