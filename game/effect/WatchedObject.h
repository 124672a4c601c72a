// Something an effect can watch and end with: another effect, or an attack's hit volume (the
// field's volumes implement it). Holders share it through counted pointers made from the
// object's own, so the object is disposed of as it was created.
#pragma once

class TWatchedObject {
 public:
  // False once the object has ended: an effect killed or finished, a volume whose state word is 0.
  virtual bool IsLive() const = 0;

 protected:
  ~TWatchedObject() = default;
};
