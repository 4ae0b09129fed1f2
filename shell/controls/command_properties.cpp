// The Command button's saved properties: read when an instance is sited from its host's
// stored description, written when the host saves. Each key is its own step: a value that
// cannot be read as its type is skipped and the property keeps its value.
#include "controls/command.h"
#include "controls/property_text.h"

namespace vellora::shell {

namespace {
// A caption equal to the written default is not stored, and reading brings back the other
// default: a button captioned "Command" comes back as "Command1".
constexpr const char* kCaptionReadDefault = "Command1";
constexpr const char* kCaptionWriteDefault = "Command";
}  // namespace

void Command::ReadProperties(const PropertyBag& bag) {
  if (const auto enabled = BooleanFromText(bag.Read("Enabled", BooleanText(-1)))) isEnabled_ = *enabled;
  lblMsg_.SetCaption(bag.Read("Caption", kCaptionReadDefault));
  if (const auto font = FontFromText(bag.Read("Font", FontText(AmbientFont())))) lblMsg_.SetFont(*font);
  if (const auto firstRun = ByteFromText(bag.Read("FirstRun", "1"))) firstRunFlag_ = *firstRun;
  if (const auto colour = Int32FromText(bag.Read("FontColour", "0")))
    lblMsg_.SetForeColour(static_cast<uint32_t>(*colour));
  if (const auto style = Int16FromText(bag.Read("Visible", "1")); style && (*style == 0 || *style == 1))
    opaque_ = *style == 1;
  PresentSurface();
  RestoreNormalLook();
}

void Command::WriteProperties(PropertyBag& bag) {
  bag.Write("Enabled", BooleanText(isEnabled_), BooleanText(-1));
  bag.Write("Caption", lblMsg_.Caption(), kCaptionWriteDefault);
  bag.Write("FirstRun", std::to_string(firstRunFlag_), "1");
  bag.Write("Font", FontText(lblMsg_.Font()), FontText(AmbientFont()));
  bag.Write("FontColour", std::to_string(static_cast<int32_t>(lblMsg_.ForeColour())), "0");
  bag.Write("Visible", opaque_ ? "1" : "0", "1");
  RestoreNormalLook();
}

}  // namespace vellora::shell
