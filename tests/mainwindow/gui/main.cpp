#include <QApplication>

int runWindowEditingTests(int argc, char* argv[]);
int runWindowCommandsTests(int argc, char* argv[]);

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    int failed = runWindowEditingTests(argc, argv);
    failed += runWindowCommandsTests(argc, argv);
    return failed;
}
