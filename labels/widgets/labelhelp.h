#pragma once
// The help topics of the label windows.

namespace postavo::labels {

inline constexpr int kChooseLayoutHelpTopic = 1049;
inline constexpr int kSelectTemplateHelpTopic = 1048;
inline constexpr int kUserLayoutHelpTopic = 1050;
inline constexpr int kLabelDesignHelpTopic = 1073;
inline constexpr int kLabelLayoutsHelpTopic = 1075;
inline constexpr int kSelectLabelsHelpTopic = 1019;

// Adds the label windows' topics to the help (once; later calls do nothing).
void registerLabelHelpTopics();

} // namespace postavo::labels
