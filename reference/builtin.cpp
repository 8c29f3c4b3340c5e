// The model built into the program; apart from model.cpp, so that the tool
// that makes the model can do without it.
#include "reference/model.h"

extern "C" const unsigned char tf_reference_model[];
extern "C" const unsigned long long tf_reference_model_size;

namespace tf::reference {

const Model& Model::BuiltIn() {
  static const Model model({tf_reference_model, tf_reference_model_size});
  return model;
}

}  // namespace tf::reference
