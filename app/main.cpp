#include "app/trainer_app.h"

int main(int argc, char** argv) {
    TrainerApp app;
    return app.run(argc, argv);
}
