#pragma once
// Finding controls by object name, as a user finds them by their place in the window.

#include <QObject>
#include <QString>
#include <gtest/gtest.h>

template <class T> T* Find(QObject* root, const QString& name) {
    T* found = root->findChild<T*>(name);
    if (!found)
        ADD_FAILURE() << "no control named " << name.toStdString();
    return found;
}
